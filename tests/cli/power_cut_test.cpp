// A power cut at any moment of a run of the real korr2ld-cli leaves every
// file it promises to write whole: the run is recorded at the system-call
// boundary (fs_recorder), and for every prefix of the record the states a
// power cut could leave after it are built and checked, then converted
// again. What each state assumes of the file system is in
// docs/reliability.md ("A power cut").
#include <sys/stat.h>

#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli_sandbox.h"
#include "support/scoped_env.h"

namespace {

namespace fs = std::filesystem;

// One recorded operation (see fs_recorder.cpp).
struct Op {
    std::string kind, path, to;
    std::uint64_t offset = 0, length = 0;
    std::string bytes;
    bool ChangesAFolder() const { return kind != "write" && kind != "truncate" && kind != "sync"; }
};

std::vector<Op> ReadRecord(const std::string& file) {
    const std::string data = k2ltest::ReadFile(file + ".data");
    std::ifstream in(file);
    std::vector<Op> ops;
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> f;
        std::stringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');)
            f.push_back(field);
        Op op;
        op.kind = f.at(0);
        op.path = f.at(1);
        if (op.kind == "rename" || op.kind == "link")
            op.to = f.at(2);
        if (op.kind == "truncate")
            op.length = std::stoull(f.at(2));
        if (op.kind == "write") {
            op.offset = std::stoull(f.at(2));
            op.length = std::stoull(f.at(3));
            op.bytes = data.substr(std::stoull(f.at(4)), op.length);
        }
        ops.push_back(op);
    }
    return ops;
}

// Files (their bytes) and folders (nullopt) by absolute path.
using Tree = std::map<std::string, std::optional<std::string>>;

Tree Snapshot(const std::vector<fs::path>& roots) {
    Tree tree;
    for (const fs::path& root : roots) {
        tree[root.string()] = std::nullopt;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            tree[entry.path().string()] = entry.is_directory()
                                              ? std::nullopt
                                              : std::optional(k2ltest::ReadFile(entry.path()));
        }
    }
    return tree;
}

void Materialise(const std::vector<fs::path>& roots, const Tree& tree) {
    for (const fs::path& root : roots)
        fs::remove_all(root);
    for (const auto& [path, content] : tree) {
        if (!content) {
            fs::create_directories(path);
        } else {
            std::ofstream(path, std::ios::binary) << *content;
        }
    }
}

// The paths whose presence or bytes differ between A and B.
std::string Differences(const Tree& a, const Tree& b) {
    std::set<std::string> paths;
    for (const Tree* tree : {&a, &b}) {
        for (const auto& entry : *tree)
            paths.insert(entry.first);
    }
    std::string differ;
    for (const std::string& path : paths) {
        const auto x = a.find(path);
        const auto y = b.find(path);
        if (x == a.end() || y == b.end() || x->second != y->second)
            differ += " " + path;
    }
    return differ;
}

// What a power cut does to the writes that no sync of their file made durable.
enum class Unsynced { kKept, kLost, kHalfKept };

// The record replayed: every state a power cut after its first K operations
// can leave.
class Replay {
public:
    Replay(const Tree& initial, std::vector<Op> ops) : m_ops(std::move(ops)) {
        for (const auto& [path, content] : initial) {
            m_names[path] = static_cast<int>(m_inodes.size());
            m_inodes.push_back({!content, content.value_or("")});
        }
        std::map<std::string, int> names = m_names;
        for (const Op& op : m_ops) {
            int inode = -1;
            if (op.kind == "create" || op.kind == "mkdir") {
                inode = static_cast<int>(m_inodes.size());
                m_inodes.push_back({op.kind == "mkdir", ""});
            } else if (const auto found = names.find(op.path); found != names.end()) {
                inode = found->second;
            } else {
                ADD_FAILURE() << "not recorded how " << op.path << " came to be";
            }
            m_inodeOf.push_back(inode);
            Bind(names, m_inodeOf.size() - 1, inode);
        }
    }

    std::size_t Size() const { return m_ops.size(); }

    // The folder changes among the first K that no sync of their folders
    // made durable.
    std::vector<std::size_t> Undurable(std::size_t k) const {
        std::vector<std::size_t> undurable;
        for (std::size_t i = 0; i < k; ++i) {
            if (!m_ops[i].ChangesAFolder())
                continue;
            for (const std::string& folder : {Parent(m_ops[i].path), Parent(m_ops[i].to)}) {
                bool synced = folder.empty();
                for (std::size_t j = i + 1; j < k && !synced; ++j) {
                    synced = m_ops[j].kind == "sync" && m_ops[j].path == folder;
                }
                if (!synced) {
                    undurable.push_back(i);
                    break;
                }
            }
        }
        return undurable;
    }

    Tree State(std::size_t k, Unsynced unsynced, const std::set<std::size_t>& undone) const {
        std::map<std::string, int> names = m_names;
        for (std::size_t i = 0; i < k; ++i) {
            if (m_inodeOf[i] >= 0 && undone.count(i) == 0)
                Bind(names, i, m_inodeOf[i]);
        }
        Tree tree;
        for (const auto& [path, inode] : names) {
            // Names come in order, a folder before what it holds; what a lost
            // folder held is lost with it.
            const auto folder = tree.find(Parent(path));
            if (m_names.count(path) == 0 && (folder == tree.end() || folder->second))
                continue;
            tree[path] =
                m_inodes[inode].folder ? std::nullopt : std::optional(Content(inode, k, unsynced));
        }
        return tree;
    }

private:
    struct Inode {
        bool folder;
        std::string initial;
    };

    static std::string Parent(const std::string& path) {
        return path.empty() ? path : fs::path(path).parent_path().string();
    }

    void Bind(std::map<std::string, int>& names, std::size_t i, int inode) const {
        const Op& op = m_ops[i];
        if (op.kind == "create" || op.kind == "mkdir" || op.kind == "link") {
            names[op.kind == "link" ? op.to : op.path] = inode;
        } else if (op.kind == "rename" || op.kind == "unlink" || op.kind == "rmdir") {
            if (names.count(op.path) != 0 && names[op.path] == inode)
                names.erase(op.path);
            if (op.kind == "rename")
                names[op.to] = inode;
        }
    }

    std::string Content(int inode, std::size_t k, Unsynced unsynced) const {
        std::size_t synced = 0;  // the changes before the last sync are durable
        std::vector<std::size_t> changes;
        for (std::size_t i = 0; i < k; ++i) {
            if (m_inodeOf[i] != inode)
                continue;
            if (m_ops[i].kind == "sync")
                synced = i + 1;
            if (m_ops[i].kind == "write" || m_ops[i].kind == "truncate")
                changes.push_back(i + 1);
        }
        std::string content = m_inodes[inode].initial;
        std::size_t pending = 0;
        for (const std::size_t i : changes)
            pending += i > synced ? 1 : 0;
        const std::size_t kept = unsynced == Unsynced::kKept   ? pending
                                 : unsynced == Unsynced::kLost ? 0
                                                               : (pending + 1) / 2;
        std::size_t seen = 0;
        for (const std::size_t i : changes) {
            const bool isPending = i > synced;
            if (isPending && seen++ >= kept)
                break;
            const Op& op = m_ops[i - 1];
            if (op.kind == "truncate") {
                content.resize(op.length);
                continue;
            }
            // The last write kept in part is torn: its first half reached the disk.
            const bool torn = isPending && unsynced == Unsynced::kHalfKept && seen == kept;
            const std::string bytes = torn ? op.bytes.substr(0, op.bytes.size() / 2) : op.bytes;
            if (content.size() < op.offset + bytes.size())
                content.resize(op.offset + bytes.size());
            content.replace(op.offset, bytes.size(), bytes);
        }
        return content;
    }

    std::vector<Op> m_ops;
    std::vector<Inode> m_inodes;
    std::map<std::string, int> m_names;  // at the start
    std::vector<int> m_inodeOf;          // by operation
};

// Stands for the clash cache's file in Scenario::whole.
const std::string kCacheFile = "the clash cache";

struct Scenario {
    const char* name;
    std::function<void(CliSandbox&)> prepare;
    std::vector<std::string> run;    // recorded
    std::vector<std::string> again;  // on every state a power cut left
    std::vector<std::string> whole;  // files that must hold their old or new bytes
    bool dialog = false;  // korr2ld, whose dialog closes at once, in place of korr2ld-cli
};

class PowerCutTest : public ::testing::Test {
protected:
    // Runs SCENARIO recorded, then checks every state a power cut could leave.
    void Check(const Scenario& scenario) {
        SCOPED_TRACE(scenario.name);
        CliSandbox sandbox;
        sandbox.WriteExampleExport();
        fs::create_directories(sandbox.Dir() / "lists");
        const std::vector<fs::path> roots =
            scenario.dialog ? std::vector<fs::path>{sandbox.Dir() / "config"}
                            : std::vector<fs::path>{sandbox.Dir() / "lists", sandbox.LumendaHome(),
                                                    sandbox.CacheHome()};
        // The dialog saves a picture of itself and closes as the Close button does.
        k2ltest::ScopedEnv platform("QT_QPA_PLATFORM", "offscreen");
        k2ltest::ScopedEnv closing("K2L_SCREENSHOT", sandbox.Path("dialog.png"));
        const auto run = [&](const std::vector<std::string>& args) {
            return scenario.dialog ? sandbox.Program(K2L_BIN_DIR "/korr2ld", args)
                                   : sandbox.Cli(args);
        };
        scenario.prepare(sandbox);
        fs::create_directories(sandbox.CacheHome());
        const Tree before = Snapshot(roots);
        const std::string record = sandbox.Path("record");
        std::string recorded;
        for (const fs::path& root : roots)
            recorded += root.string() + ":";
        fs::create_directories(roots.front());
        {
            k2ltest::ScopedEnv preload("LD_PRELOAD", K2L_FS_RECORDER);
            k2ltest::ScopedEnv file("K2L_RECORD_FILE", record);
            k2ltest::ScopedEnv dirs("K2L_RECORD_DIRS", recorded);
            const RunResult first = run(scenario.run);
            ASSERT_EQ(first.exitCode, 0) << first.err;
        }
        const Tree after = Snapshot(roots);
        const Replay replay(before, ReadRecord(record));
        ASSERT_EQ(Differences(replay.State(replay.Size(), Unsynced::kKept, {}), after), "")
            << "the record does not give what the run left";
        // What the next run leaves after a run that ended well.
        const RunResult reference = run(scenario.again);
        ASSERT_EQ(reference.exitCode, 0) << reference.err;
        const Tree settled = Snapshot(roots);

        std::size_t checked = 0;
        std::set<std::size_t> seen;
        for (std::size_t k = 0; k <= replay.Size(); ++k) {
            const std::vector<std::size_t> undurable = Undurable(replay, k);
            std::vector<std::set<std::size_t>> undone = {{}};
            for (std::size_t p = 0; p < undurable.size(); ++p) {
                undone.emplace_back(undurable.begin() + p, undurable.end());  // in order
                undone.push_back({undurable[p]});                             // alone
            }
            for (const Unsynced unsynced :
                 {Unsynced::kKept, Unsynced::kLost, Unsynced::kHalfKept}) {
                for (const std::set<std::size_t>& lost : undone) {
                    const Tree state = replay.State(k, unsynced, lost);
                    ++checked;
                    const std::string where = "after operation " + std::to_string(k) + " of " +
                                              std::to_string(replay.Size()) + ", unsynced " +
                                              std::to_string(static_cast<int>(unsynced)) +
                                              ", undone " + std::to_string(lost.size());
                    CheckWhole(scenario, sandbox, before, after, state, where, k == replay.Size());
                    if (!seen.insert(std::hash<std::string>()(Serialised(state))).second)
                        continue;
                    Materialise(roots, state);
                    const RunResult again = run(scenario.again);
                    EXPECT_EQ(again.exitCode, 0) << where << ": " << again.err;
                    EXPECT_EQ(again.err, reference.err) << where;
                    EXPECT_EQ(Differences(Names(Snapshot(roots)), Names(settled)), "") << where;
                    if (HasFailure())
                        return;
                }
            }
        }
        std::printf(
            "[ power cut ] %s: %zu operations recorded, %zu crash states checked, %zu "
            "distinct, each converted again\n",
            scenario.name, replay.Size(), checked, seen.size());
    }

    static std::vector<std::size_t> Undurable(const Replay& replay, std::size_t k) {
        return replay.Undurable(k);
    }

    // Each whole file holds its old or its new bytes, never missing when it
    // was there; after the whole run (DONE), which said it was done, the new
    // ones, but for the cache.
    static void CheckWhole(const Scenario& scenario, const CliSandbox& sandbox, const Tree& before,
                           const Tree& after, const Tree& state, const std::string& where,
                           bool done) {
        for (const std::string& relative : scenario.whole) {
            std::string path = sandbox.Path(relative);
            for (const auto& entry : after) {
                if (relative == kCacheFile && Has(entry.first, "/korr2ld/data-files-")) {
                    path = entry.first;
                }
            }
            const auto now = state.find(path);
            const auto old = before.find(path);
            const bool oldAllowed = !done || relative == kCacheFile;
            if (now == state.end()) {
                EXPECT_TRUE(old == before.end() && oldAllowed) << path << " missing " << where;
            } else {
                EXPECT_TRUE(now->second == after.at(path) ||
                            (old != before.end() && now->second == old->second && oldAllowed))
                    << path << " neither old nor new " << where;
            }
        }
    }

    static std::string Serialised(const Tree& tree) {
        std::string all;
        for (const auto& [path, content] : tree) {
            all += path + (content ? "\1" + *content : "\2") + '\0';
        }
        return all;
    }

    // The names in TREE, and the bytes of each but the clash cache's (whose
    // entries name the lists' inodes).
    static Tree Names(const Tree& tree) {
        Tree names = tree;
        for (auto& [path, content] : names) {
            if (path.find("/data-files-") != std::string::npos)
                content = "";
        }
        return names;
    }
};

const std::vector<std::string> kConvert = {
    "convert", "plate7.txt", "lists/out.sdb", "--data", "PLATE", "--ms", "M",
    "--inlet", "I",          "--macro",       "X"};

std::vector<std::string> Overwriting(std::vector<std::string> args) {
    args.push_back("--overwrite");
    return args;
}

// A Lumenda.ini with lines of its own around the key stored.
void WriteSettings(CliSandbox& sandbox) {
    sandbox.Write("lumenda/Lumenda.ini",
                  "; the data system's own settings\n[SystemList]\nMS_FUNC_DB=/methods/ms/*.exp\n"
                  "SAMPLES_DB=/old/lists/*.sdb\nMACRO=/macros/*.mac\n[Other]\nkey=value\n");
}

TEST_F(PowerCutTest, ANewList) {
    Check({"a new list",
           WriteSettings,
           kConvert,
           Overwriting(kConvert),
           {"lists/out.sdb", "lumenda/Lumenda.ini"}});
}

TEST_F(PowerCutTest, AReplacedList) {
    const auto prepare = [](CliSandbox& sandbox) {
        WriteSettings(sandbox);
        ASSERT_EQ(sandbox.Cli({"convert", "plate7.txt", "lists/out.sdb", "--data", "OLD"}).exitCode,
                  0);
    };
    Check({"a replaced list",
           prepare,
           Overwriting(kConvert),
           Overwriting(kConvert),
           {"lists/out.sdb", "lumenda/Lumenda.ini"}});
}

TEST_F(PowerCutTest, AStoreIntoTheSettingsFile) {
    const std::vector<std::string> store = {"locations", "set", "MS_FUNC_DB", "lists", "exp"};
    Check({"a store into Lumenda.ini", WriteSettings, store, store, {"lumenda/Lumenda.ini"}});
}

TEST_F(PowerCutTest, TheClashCache) {
    const auto prepare = [](CliSandbox& sandbox) {
        WriteSettings(sandbox);
        for (const char* list : {"lists/a.sdb", "lists/b.sdb"}) {
            ASSERT_EQ(sandbox.Cli({"convert", "plate7.txt", list, "--data", "OTHER"}).exitCode, 0);
        }
        ASSERT_EQ(sandbox.Cli(Overwriting(kConvert)).exitCode, 0);
        // b is replaced now: the next conversion reads it and keeps it no more.
        ASSERT_EQ(sandbox.Cli({"convert", "plate7.txt", "b.sdb", "--data", "PLATE"}).exitCode, 0);
        fs::rename(sandbox.Dir() / "b.sdb", sandbox.Dir() / "lists/b.sdb");
    };
    Check({"the clash cache",
           prepare,
           Overwriting(kConvert),
           Overwriting(kConvert),
           {"lists/out.sdb", kCacheFile}});
}

#ifdef K2L_WITH_DIALOG
TEST_F(PowerCutTest, TheDialogsSettingsFile) {
    const auto prepare = [](CliSandbox& sandbox) {
        sandbox.Write("config/Korr2LD.INI",
                      "; kept by hand\n[Files]\nInput=/exports/run12.txt\n[Mine]\nkey=value\n");
    };
    Check({"Korr2LD.INI saved by the dialog", prepare, {}, {}, {"config/Korr2LD.INI"}, true});
}
#endif

// Another program's file that appears at a new list's name while the list
// is built is never replaced by it.
TEST(NewListRename, RefusesAFileThatAppearedJustBeforeIt) {
    CliSandbox sandbox;
    sandbox.WriteExampleExport();
    fs::create_directories(sandbox.Dir() / "lists");
    k2ltest::ScopedEnv preload("LD_PRELOAD", K2L_FS_RECORDER);
    k2ltest::ScopedEnv race("K2L_RECORD_RACE", sandbox.Path("lists/out.sdb"));
    const RunResult run = sandbox.Cli(kConvert);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(k2ltest::ReadFile(sandbox.Dir() / "lists/out.sdb"), "another program's file\n");
}

}  // namespace
