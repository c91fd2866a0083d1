#include "ui/platform/FileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>
#include <cstdint>

#include "framework/PathParts.h"
#include "ui/platform/TextCodec.h"
#include "ui/platform/UiTestScript.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const std::string& fileName,
                         DWORD dwFlags, const char* lpszFilter, QWidget* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog),
      m_strDefExt(lpszDefExt != nullptr ? lpszDefExt : ""),
      m_strFileName(fileName),
      m_strFilter(lpszFilter != nullptr ? lpszFilter : ""),
      m_pParentWnd(pParentWnd) {
    m_ofn.Flags = dwFlags;
}

QString CFileDialog::TranslateFilter(const std::string& filter) {
    const QStringList parts = QString::fromLatin1(filter).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        if (description.isEmpty()) {
            break;  // "||" ends the list
        }
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            patterns << (trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : trimmed);
        }
        // Qt reads the patterns from the parentheses at the end of the
        // description, so the description's own list is replaced.
        const qsizetype open = description.lastIndexOf(u'(');
        if (open > 0 && description.endsWith(u')')) {
            description = description.left(open).trimmed();
        }
        filters << description + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return filters.join(QStringLiteral(";;"));
}

INT_PTR CFileDialog::DoModal() {
    FileDialogRequest request;
    request.open = m_bOpenFileDialog != FALSE;
    request.title = DecodePath(m_ofn.lpstrTitle);
    request.initialDir = DecodePath(m_ofn.lpstrInitialDir);
    request.proposedName = DecodePath(m_strFileName);
    request.filter = TranslateFilter(m_strFilter);
    request.defaultExt = QString::fromLatin1(m_strDefExt);
    request.flags = m_ofn.Flags;

    if (CUiTestScript::IsActive()) {
        CUiTestScript::Ask(request);
    } else {
        QFileDialog dialog(m_pParentWnd, request.title);
        dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode((request.flags & OFN_FILEMUSTEXIST) != 0 ? QFileDialog::ExistingFile
                                                                    : QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!request.initialDir.isEmpty()) {
            dialog.setDirectory(request.initialDir);
        }
        if (!request.filter.isEmpty()) {
            dialog.setNameFilter(request.filter);
        }
        dialog.setDefaultSuffix(request.defaultExt);
        dialog.selectFile(request.proposedName);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            request.accepted = true;
            request.path = dialog.selectedFiles().constFirst();
        }
    }
    if (!request.accepted) {
        return IDCANCEL;
    }
    m_strFileName = FullPathOf(EncodePath(request.path));
    return IDOK;
}

std::string CFileDialog::GetPathName() const {
    return m_strFileName;
}

std::string CFileDialog::GetFileTitle() const {
    return FileTitleOf(m_strFileName);
}

std::string CFileDialog::FullPathOf(const std::string& path) {
    const std::string full = FullPath(path, SIZE_MAX, PathSeparators::kSlashOnly);
    return full.empty() ? path : full;
}

std::string CFileDialog::FileTitleOf(const std::string& path) {
    return EncodePath(QFileInfo(DecodePath(path)).completeBaseName());
}
