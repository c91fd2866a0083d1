#include "convert/DataSystemLoader.h"

#include "framework/DynamicLibrary.h"
#include "framework/File.h"
#include "framework/MakeDirectories.h"
#include "framework/PathParts.h"
#include "framework/ProfileFile.h"
#include "framework/UserFolders.h"

namespace {

constexpr std::uint16_t kStoreOrdinal = 13;
constexpr const char* kAdvice =
    "give the folder that holds the data system's libraries with --data-system FOLDER or "
    "korr2ld-cli data-system set FOLDER";

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') {
        folder += kNativeSeparator;
    }
    return folder;
}

#ifdef _WIN32
const char* Bits(const std::string& machine) {
    return machine == "x86" ? "32-bit" : machine == "x64" || machine == "arm64" ? "64-bit" : "";
}
#endif

// One library of the pair: loaded, or the sentence that says why not.
struct Library {
    std::string file;  // "Ferrox.dll"
    std::string what;  // "record library"
};

Result<DynamicLibrary> LoadOne(const Library& library, const DataSystemFolder& where,
                               const std::string& program) {
    const std::string folder = WithSeparator(where.folder);
    const std::string path = folder + library.file;
    const std::string place = library.file + " in " + folder + " (the folder " + where.how + ")";
    if (!Exists(path)) {
        return Status::Error("the data system's " + library.what + " " + library.file +
                             " was not found in " + folder + " (the folder " + where.how + "); " +
                             std::string(kAdvice));
    }
#ifdef _WIN32
    const Result<std::string> machine = LibraryMachine(path);
    if (!machine.ok()) {
        return Status::Error(place + " " + machine.status().message() + ".");
    }
    if (machine.value() != ProgramMachine()) {
        const std::string bits = Bits(machine.value());
        return Status::Error(place + " is a " + (bits.empty() ? machine.value() : bits) +
                             " library and " + program + " is " + Bits(ProgramMachine()) +
                             (bits.empty() ? "" : ": use the " + bits + " " + program));
    }
#else
    static_cast<void>(program);
#endif
    Result<DynamicLibrary> loaded = DynamicLibrary::Load(path);
    if (!loaded.ok()) {
        return Status::Error(place + " " + loaded.status().message());
    }
    return loaded;
}

template <typename F>
void Find(const DynamicLibrary& library, const char* name, F*& entry) {
    entry = reinterpret_cast<F*>(library.Entry(name));
}

#if defined(_WIN32) && defined(__i386__)
// The six entries of a data system's own libraries, called whatever their
// convention (framework/DynamicLibrary.h).
void* g_raw[6];

std::uint32_t Word(const void* pointer) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pointer));
}
int32_t Call(int entry, std::initializer_list<std::uint32_t> args) {
    return static_cast<int32_t>(
        CallEitherConvention(g_raw[entry], args.begin(), static_cast<std::uint32_t>(args.size())));
}
int32_t Open(int32_t d, const char* n, int32_t m) {
    return Call(0, {static_cast<std::uint32_t>(d), Word(n), static_cast<std::uint32_t>(m)});
}
int32_t Close(int32_t d) {
    return Call(1, {static_cast<std::uint32_t>(d)});
}
int32_t Handle(int32_t d, int32_t n, void* r, int32_t o, int32_t f) {
    return Call(2, {static_cast<std::uint32_t>(d), static_cast<std::uint32_t>(n), Word(r),
                    static_cast<std::uint32_t>(o), static_cast<std::uint32_t>(f)});
}
int32_t Count(int32_t d) {
    return Call(3, {static_cast<std::uint32_t>(d)});
}
int32_t Get(const char* s, const char* k, int32_t f, GLOBAL_FILE_INFO* i) {
    return Call(4, {Word(s), Word(k), static_cast<std::uint32_t>(f), Word(i)});
}
int32_t Store(const char* s, const char* k, const GLOBAL_FILE_INFO* i, int32_t f) {
    return Call(5, {Word(s), Word(k), Word(i), static_cast<std::uint32_t>(f)});
}

void CallEitherWay(DataSystemEntries& entries) {
    void* const found[6] = {reinterpret_cast<void*>(entries.DB3Open),
                            reinterpret_cast<void*>(entries.DB3Close),
                            reinterpret_cast<void*>(entries.DB3HandleRecord),
                            reinterpret_cast<void*>(entries.DB3GetRecordsInDB),
                            reinterpret_cast<void*>(entries.MSGGetGlobalFile),
                            reinterpret_cast<void*>(entries.StoreGlobalFile)};
    std::copy(std::begin(found), std::end(found), g_raw);
    entries.DB3Open = &Open;
    entries.DB3Close = &Close;
    entries.DB3HandleRecord = &Handle;
    entries.DB3GetRecordsInDB = &Count;
    entries.MSGGetGlobalFile = &Get;
    entries.StoreGlobalFile = &Store;
}
#endif

}  // namespace

std::optional<DataSystemFolder> ChooseDataSystemFolder(const std::string& option) {
    if (!option.empty()) {
        return DataSystemFolder{option, "given with --data-system"};
    }
    if (const std::optional<std::string> variable = EnvironmentValue(kDataSystemVariable);
        variable && !variable->empty()) {
        return DataSystemFolder{*variable, std::string("named by ") + kDataSystemVariable};
    }
    if (const Result<std::string> settings = Korr2ldSettingsPath(); settings.ok()) {
        const CProfileFile profile(settings.value());
        if (std::string stored = profile.GetString(kDataSystemSection, kDataSystemKey, "");
            !stored.empty()) {
            return DataSystemFolder{stored, "stored in " + settings.value()};
        }
    }
#ifdef _WIN32
    return DataSystemFolder{ProgramFolder(), "of the program"};
#else
    return std::nullopt;
#endif
}

Result<DataSystemEntries> LoadDataSystem(const DataSystemFolder& where,
                                         const std::string& program) {
    const Library records{DynamicLibraryFileName("Ferrox"), "record library"};
    const Library settings{DynamicLibraryFileName("Ostrel"), "settings library"};
    Result<DynamicLibrary> ferrox = LoadOne(records, where, program);
    if (!ferrox.ok()) {
        return ferrox.status();
    }
    Result<DynamicLibrary> ostrel = LoadOne(settings, where, program);
    if (!ostrel.ok()) {
        return ostrel.status();
    }
    const DynamicLibrary& f = ferrox.value();
    const DynamicLibrary& o = ostrel.value();

    DataSystemEntries entries;
    Find(f, "DB3Open", entries.DB3Open);
    Find(f, "DB3Close", entries.DB3Close);
    Find(f, "DB3HandleRecord", entries.DB3HandleRecord);
    Find(f, "DB3GetRecordsInDB", entries.DB3GetRecordsInDB);
    Find(o, "_MSGGetGlobalFile", entries.MSGGetGlobalFile);
    entries.StoreGlobalFile = reinterpret_cast<decltype(entries.StoreGlobalFile)>(
        o.EntryByNumber(kStoreOrdinal, "StoreGlobalFile"));
    const struct {
        const Library& library;
        const char* name;
        bool found;
    } required[] = {
        {records, "DB3Open", entries.DB3Open != nullptr},
        {records, "DB3Close", entries.DB3Close != nullptr},
        {records, "DB3HandleRecord", entries.DB3HandleRecord != nullptr},
        {records, "DB3GetRecordsInDB", entries.DB3GetRecordsInDB != nullptr},
        {settings, "_MSGGetGlobalFile", entries.MSGGetGlobalFile != nullptr},
        {settings, "the location store (entry number 13)", entries.StoreGlobalFile != nullptr},
    };
    for (const auto& entry : required) {
        if (!entry.found) {
            return Status::Error(entry.library.file + " in " + WithSeparator(where.folder) +
                                 " (the folder " + where.how + ") lacks " +
                                 (entry.name[0] == 't' ? "" : "the entry ") + entry.name +
                                 ": it is not the data system's " + entry.library.what + "; " +
                                 std::string(kAdvice));
        }
    }

    entries.ours =
        f.Entry(kFerroxStandInMarker) != nullptr && o.Entry(kOstrelStandInMarker) != nullptr;
    if (!entries.ours) {
#if defined(_WIN32) && defined(__i386__)
        CallEitherWay(entries);
#endif
        return entries;
    }
    Find(f, "DB3Abandon", entries.DB3Abandon);
    Find(f, "DB3StatusText", entries.DB3StatusText);
    Find(f, "DB3GetPath", entries.DB3GetPath);
    Find(f, "DB3GetFailureCause", entries.DB3GetFailureCause);
    Find(f, "DB3GetListIdentity", entries.DB3GetListIdentity);
    Find(o, "UseGlobalFileInProcess", entries.UseGlobalFileInProcess);
    Find(o, "EnumGlobalFiles", entries.EnumGlobalFiles);
    Find(o, "OstrelSettingsPath", entries.OstrelSettingsPath);
    Find(o, "OstrelLastError", entries.OstrelLastError);
    return entries;
}

Result<std::string> Korr2ldSettingsPath() {
    const Result<std::string> folder = UserConfigFolder();
    if (!folder.ok()) {
        return folder.status();
    }
#ifdef _WIN32
    return folder.value() + "\\Korr2LD.INI";
#else
    return folder.value() + "/Korr2LD.INI";
#endif
}

Status StoreDataSystemFolder(const std::string& folder) {
    std::string absolute;
    if (!folder.empty()) {
        absolute = FullPath(folder, kMaxPath);
        const Result<FileStatus> status = StatusAt(absolute);
        if (absolute.empty() || !status.ok() || status.value().kind != FileKind::kDirectory) {
            return Status::Error("the folder " + folder + " does not exist");
        }
    }
    const Result<std::string> settings = Korr2ldSettingsPath();
    if (!settings.ok()) {
        return settings.status();
    }
    // On a first use the user's settings folder may not be there yet.
    if (const Status made = MakeDirectories(FolderOf(settings.value())); !made.ok()) {
        return made;
    }
    CProfileFile profile(settings.value());
    if (!profile.WriteString(kDataSystemSection, kDataSystemKey, absolute) ||
        !profile.Save(CProfileFile::IgnoredFile::kLeaveAlone)) {
        return Status::Error(profile.GetError());
    }
    return Status::Ok();
}
