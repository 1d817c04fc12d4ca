#include "platform/windows/internal/toolkit_dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>
#include <algorithm>
#include <map>

#include "platform/cdrom/cd_drive_list.h"
#include "platform/graphics/internal/qt_graphics.h"
#include "platform/messages/application.h"
#include "platform/windows/internal/host_widget.h"

namespace rv {

namespace {

// The window a dialog belongs to, is kept in front of and centred on: the owner's, or else the
// window the user works in (a modal one first), or else the program's main window.
QWidget* OwnerWidget(HWND owner) {
    if (HostWidget* host = HostWidget::Find(owner)) return host->window();
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    HostWidget* main = Application ? HostWidget::Find(Application->MainWindow()) : nullptr;
    return main && main->isVisible() ? main->window() : nullptr;
}

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// File names as the system has them: the toolkit decodes names with the same codec.
std::string FileNameBytes(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

QMessageBox::StandardButton StandardButtonOf(int id) {
    switch (id) {
        case IDCANCEL:
            return QMessageBox::Cancel;
        case IDABORT:
            return QMessageBox::Abort;
        case IDRETRY:
            return QMessageBox::Retry;
        case IDIGNORE:
            return QMessageBox::Ignore;
        case IDYES:
            return QMessageBox::Yes;
        case IDNO:
            return QMessageBox::No;
        default:
            return QMessageBox::Ok;
    }
}

QMessageBox::Icon IconOf(unsigned type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONERROR:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONWARNING:
            return QMessageBox::Warning;
        case MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

class ToolkitDialogService : public TDialogService {
public:
    bool OpenFiles(const TFileDialogRequest& request, TFileDialogResult& result) override {
        return RunFileDialog(request, result, false);
    }
    bool SaveFile(const TFileDialogRequest& request, TFileDialogResult& result) override {
        return RunFileDialog(request, result, true);
    }

    bool SelectFolder(HWND owner, const std::string& caption, const std::string& root,
                      std::string& folder) override {
        EnsureGuiApplication();
        FitToolkitWindowsOntoWorkArea();
        QFileDialog dialog(OwnerWidget(owner), FromUtf8(caption),
                           root.empty() ? QDir::homePath() : FromUtf8(root));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setWindowModality(Qt::ApplicationModal);
        std::string drive;
        AddCdDrivePlaces(dialog, drive);
        if (dialog.exec() != QDialog::Accepted) return false;
        if (!drive.empty()) {
            folder = drive;
            return true;
        }
        if (dialog.selectedFiles().isEmpty()) return false;
        folder = FileNameBytes(dialog.selectedFiles().first());
        while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        return !folder.empty();
    }

    int MessageBox(HWND owner, const std::string& text, const std::string& caption,
                   unsigned type) override {
        EnsureGuiApplication();
        FitToolkitWindowsOntoWorkArea();
        QMessageBox box(OwnerWidget(owner));
        box.setWindowTitle(FromUtf8(caption));
        box.setTextFormat(Qt::PlainText);
        box.setText(FromUtf8(text));
        box.setIcon(IconOf(type));
        box.setWindowModality(Qt::ApplicationModal);
        std::map<QAbstractButton*, int> ids;
        std::vector<int> buttons = MessageBoxButtons(type);
        for (int id : buttons) ids[box.addButton(StandardButtonOf(id))] = id;
        std::size_t defaultIndex = (type & MB_DEFMASK) >> 8;
        if (defaultIndex < buttons.size())
            box.setDefaultButton(StandardButtonOf(buttons[defaultIndex]));
        int escape = MessageBoxEscape(type);
        if (escape) box.setEscapeButton(box.button(StandardButtonOf(escape)));
        box.exec();
        auto it = ids.find(box.clickedButton());
        if (it != ids.end()) return it->second;
        return escape ? escape : buttons.back();
    }

    bool OpenDocument(HWND, const std::string& document, const std::string& workingDir) override {
        EnsureGuiApplication();
        static const QRegularExpression kScheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
        QString text = FromUtf8(document);
        QUrl url;
        if (!text.startsWith('/') && kScheme.match(text).hasMatch())
            url = QUrl(text);
        else if (text.startsWith('/') || workingDir.empty())
            url = QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
        else
            url = QUrl::fromLocalFile(QDir(FromUtf8(workingDir)).absoluteFilePath(text));
        return url.isValid() && QDesktopServices::openUrl(url);
    }

private:
    // Audio CDs are not mounted, so their drives are places of their own below the folders: a
    // button per drive that chooses the drive's device as the folder.
    static void AddCdDrivePlaces(QFileDialog& dialog, std::string& chosen) {
        std::vector<CdDriveFacts> drives;
        try {
            drives = ListCdDrives();
        } catch (const std::exception&) {
            return;  // no drives to offer; the folders still are
        }
        auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
        if (drives.empty() || !grid) return;
        auto* places = new QWidget(&dialog);
        auto* row = new QHBoxLayout(places);
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(new QLabel(QStringLiteral("CD drives:"), places));
        for (const CdDriveFacts& drive : drives) {
            auto* button = new QPushButton(
                QStringLiteral("Audio CD (%1)").arg(QFile::decodeName(drive.Device.c_str())),
                places);
            button->setAutoDefault(false);
            QObject::connect(button, &QPushButton::clicked, &dialog,
                             [&dialog, &chosen, device = drive.Device] {
                                 chosen = device;
                                 static_cast<QDialog&>(dialog).done(QDialog::Accepted);
                             });
            row->addWidget(button);
        }
        row->addStretch();
        grid->addWidget(places, grid->rowCount(), 0, 1, grid->columnCount());
    }

    static bool RunFileDialog(const TFileDialogRequest& request, TFileDialogResult& result,
                              bool save) {
        EnsureGuiApplication();
        FitToolkitWindowsOntoWorkArea();
        QFileDialog dialog(OwnerWidget(request.Owner), FromUtf8(request.Title));
        // The toolkit's own dialog: it honours every option the same way on every desktop.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        if (save)
            dialog.setFileMode(QFileDialog::AnyFile);
        else if (request.Options & ofAllowMultiSelect)
            dialog.setFileMode(QFileDialog::ExistingFiles);
        else if (request.Options & ofFileMustExist)
            dialog.setFileMode(QFileDialog::ExistingFile);
        else
            dialog.setFileMode(QFileDialog::AnyFile);
        if (save && !(request.Options & ofOverwritePrompt))
            dialog.setOption(QFileDialog::DontConfirmOverwrite);

        // Each description keeps its own text; the patterns the toolkit matches follow it in
        // brackets, where the dialog does not show them.
        QStringList filters;
        for (const TFilterEntry& entry : SplitFilter(request.Filter)) {
            QStringList patterns;
            for (const std::string& pattern : entry.Patterns) patterns << CaseBlindPattern(pattern);
            filters << FromUtf8(entry.Description) + " (" + patterns.join(' ') + ")";
        }
        if (!filters.isEmpty()) {
            dialog.setNameFilters(filters);
            int index = std::clamp(request.FilterIndex, 1, int(filters.size())) - 1;
            dialog.selectNameFilter(filters[index]);
        }
        if (!request.DefaultExt.empty()) dialog.setDefaultSuffix(FromUtf8(request.DefaultExt));
        if (!request.InitialDir.empty()) dialog.setDirectory(FromUtf8(request.InitialDir));
        if (!request.FileName.empty()) dialog.selectFile(FromUtf8(request.FileName));
        dialog.setWindowModality(Qt::ApplicationModal);
        if (dialog.exec() != QDialog::Accepted) return false;

        result.Files.clear();
        for (const QString& file : dialog.selectedFiles())
            result.Files.push_back(FileNameBytes(file));
        int chosen = int(filters.indexOf(dialog.selectedNameFilter()));
        result.FilterIndex = chosen >= 0 ? chosen + 1 : request.FilterIndex;
        return !result.Files.empty();
    }
};

}  // namespace

TDialogService& ToolkitDialogs() {
    static ToolkitDialogService service;
    return service;
}

QString CaseBlindPattern(const std::string& pattern) {
    if (pattern == "*.*") return QStringLiteral("*");
    QString blind;
    for (QChar c : FromUtf8(pattern)) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            blind += QString('[') + c.toLower() + c.toUpper() + ']';
        else
            blind += c;
    }
    return blind;
}

}  // namespace rv
