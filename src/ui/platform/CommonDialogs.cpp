#include "ui/platform/CommonDialogs.h"

#include <sys/stat.h>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "ui/platform/TextCodec.h"

namespace {

QMessageBox::Icon IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        default:
            return QMessageBox::NoIcon;
    }
}

// The button that Enter presses.
int DefaultAnswer(UINT type) {
    if ((type & MB_TYPEMASK) != MB_YESNO) {
        return IDOK;
    }
    return (type & MB_DEFMASK) == MB_DEFBUTTON2 ? IDNO : IDYES;
}

}  // namespace

int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, UINT type,
                   const QString& detail, const QString& details) {
    if (CUiTestScript::State& script = CUiTestScript::Current(); script.active) {
        script.messageBoxes.push_back(MessageBoxRequest{text, caption, detail, details, type});
        if (script.messageAnswers.empty()) {
            return DefaultAnswer(type);
        }
        const int answer = script.messageAnswers.front();
        script.messageAnswers.pop_front();
        return answer;
    }

    QMessageBox box(IconOf(type), caption, text, QMessageBox::NoButton, owner);
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(detail);
    box.setDetailedText(details);
    if ((type & MB_TYPEMASK) == MB_YESNO) {
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        QPushButton* no = box.addButton(QMessageBox::No);
        box.setDefaultButton(DefaultAnswer(type) == IDYES ? yes : no);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? IDYES : IDNO;
    }
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return IDOK;
}

std::string RunFileDialog(const FileDialogRequest& request) {
    QString path;
    if (CUiTestScript::State& script = CUiTestScript::Current(); script.active) {
        script.fileDialogs.push_back(request);
        if (!script.fileAnswers.empty()) {
            path = script.fileAnswers.front();
            script.fileAnswers.pop_front();
        }
    } else {
        QFileDialog dialog(nullptr, request.title);
        dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode(request.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!request.initialDir.isEmpty()) {
            dialog.setDirectory(request.initialDir);
        }
        dialog.setNameFilter(request.filter);
        dialog.setDefaultSuffix(request.defaultExt);
        dialog.selectFile(request.proposedName);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            path = dialog.selectedFiles().constFirst();
        }
    }
    return path.isEmpty() ? std::string() : FullPathOf(EncodePath(path));
}

std::string FullPathOf(const std::string& path) {
    return EncodePath(QFileInfo(DecodePath(path)).absoluteFilePath());
}

std::string FileTitleOf(const std::string& path) {
    return EncodePath(QFileInfo(DecodePath(path)).completeBaseName());
}

BOOL FileEntryExists(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        return FALSE;
    }
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 ? TRUE : FALSE;
}
