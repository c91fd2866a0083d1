#include "ui/platform/CommonDialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <cstdint>

#include "framework/File.h"
#include "framework/PathParts.h"
#include "ui/platform/qt/MessageBox.h"
#include "ui/platform/qt/TextCodec.h"

int DefaultAnswer(UINT type) {
    if ((type & MB_TYPEMASK) != MB_YESNO) {
        return IDOK;
    }
    return (type & MB_DEFMASK) == MB_DEFBUTTON2 ? IDNO : IDYES;
}

namespace {

MessageBoxHook& BoxHook() {
    static MessageBoxHook hook;
    return hook;
}

// The details field of BOX (Qt makes it read-only and out of the Tab
// order): reached by Tab, scrolled and read by the keyboard, and named.
void MakeDetailsReachable(QMessageBox& box) {
    for (QTextEdit* edit : box.findChildren<QTextEdit*>()) {
        edit->setFocusPolicy(Qt::StrongFocus);
        edit->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
        edit->setAccessibleName(QStringLiteral("Details"));
    }
}

}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) {
    BoxHook() = std::move(hook);
}

int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, UINT type,
                   const QString& detail, const QString& details) {
    if (ScriptedUser* user = ScriptedUser::s_pInstalled) {
        const int answer = user->Answer(MessageBoxRequest{
            EncodePath(text), EncodePath(caption), EncodePath(detail), EncodePath(details), type});
        if (!BoxHook()) {
            return answer;
        }
    }

    const UINT icon = type & MB_ICONMASK;
    QMessageBox box(icon == MB_ICONQUESTION      ? QMessageBox::Question
                    : icon == MB_ICONEXCLAMATION ? QMessageBox::Warning
                                                 : QMessageBox::NoIcon,
                    caption, text, QMessageBox::NoButton, owner);
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(detail);
    box.setDetailedText(details);
    const bool yesNo = (type & MB_TYPEMASK) == MB_YESNO;
    box.setStandardButtons(yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box.setDefaultButton(!yesNo                         ? QMessageBox::Ok
                         : DefaultAnswer(type) == IDYES ? QMessageBox::Yes
                                                        : QMessageBox::No);
    box.setEscapeButton(yesNo ? QMessageBox::No : QMessageBox::Ok);
    MakeDetailsReachable(box);
    if (ScriptedUser::s_pInstalled != nullptr && BoxHook()) {
        const MessageBoxHook run = BoxHook();
        QTimer::singleShot(0, &box, [&box, run] {
            run(box);
            if (box.isVisible()) {
                box.defaultButton()->click();
            }
        });
    }
    const int pressed = box.exec();
    if (!yesNo) {
        return IDOK;
    }
    return pressed == QMessageBox::Yes ? IDYES : IDNO;
}

int AfxMessageBox(const std::string& text, const std::string& caption, UINT type,
                  const std::string& detail, const std::string& details) {
    return ShowMessageBox(nullptr, DecodePath(text), DecodePath(caption), type, DecodePath(detail),
                          DecodePath(details));
}

std::string RunFileDialog(const FileDialogRequest& request) {
    std::string path;
    if (ScriptedUser* user = ScriptedUser::s_pInstalled) {
        path = user->Answer(request);
    } else {
        QFileDialog dialog(nullptr, DecodePath(request.title));
        dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode(request.folder ? QFileDialog::Directory
                           : request.open ? QFileDialog::ExistingFile
                                          : QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!request.initialDir.empty()) {
            dialog.setDirectory(DecodePath(request.initialDir));
        }
        dialog.setNameFilter(DecodePath(request.filter));
        dialog.setDefaultSuffix(DecodePath(request.defaultExt));
        dialog.selectFile(DecodePath(request.proposedName));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            path = EncodePath(dialog.selectedFiles().constFirst());
        }
    }
    return path.empty() ? std::string() : FullPathOf(path);
}
