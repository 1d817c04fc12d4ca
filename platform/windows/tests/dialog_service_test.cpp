#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QWindow>
#include <stdexcept>

#include "platform/base/exception.h"
#include "platform/cdrom/tests/fake_drives_file.h"
#include "platform/windows/internal/toolkit_dialogs.h"
#include "platform/windows/scripted_dialogs.h"
#include "platform/windows/tests/gui_app.h"
#include "platform/windows/tests/host_fixture.h"
#include "platform/windows/tests/toolkit_dialog_view.h"

namespace rv {
namespace {

TEST(DialogFilters, TheAudioFilterSplitsIntoItsElevenEntries) {
    const std::string filter =
        "Supported audio files|*.MP1;*.MP2;*.MP3;*.MP+;*.MPC;*.MPP;*.OGG;*.VQF;*.MAC;*.APE;*.WMA;"
        "*.WV;*.AAC;*.FLAC;*.OFR|MP3 (*.mp1;*.mp2;*.mp3)|*.mp1;*.mp2;*.mp3|MP3 Plus "
        "(*.mpc;*.mp+;*.mpp)|*.mpc;*.mp+;*.mpp|Ogg Vorbis (*.ogg)|*.ogg|Monkey Audio "
        "(*.ape;*.mac)|*.ape;*.mac|Twin VQ (*.vqf)|*.vqf|Windows Media Audio (*.wma)|*.wma|"
        "OptimFROG (*.ofr)|*.ofr|Dolby's Compressed Audio (*.aac)|*.aac|Free Lossless Audio Codec "
        "(*.flac)|*.flac|Packed WAVE (*.wv)|*.wv";
    std::vector<TFilterEntry> entries = SplitFilter(filter);
    ASSERT_EQ(entries.size(), 11u);
    EXPECT_EQ(entries[0].Description, "Supported audio files");
    EXPECT_EQ(entries[0].Patterns.size(), 15u);
    EXPECT_EQ(entries[1].Description, "MP3 (*.mp1;*.mp2;*.mp3)");
    EXPECT_EQ(entries[1].Patterns, (std::vector<std::string>{"*.mp1", "*.mp2", "*.mp3"}));
    EXPECT_EQ(entries[10].Description, "Packed WAVE (*.wv)");
    EXPECT_EQ(entries[10].Patterns, std::vector<std::string>{"*.wv"});

    EXPECT_EQ(SplitFilter("Lorvix MediaLib files|*.rvl|All files|*.*|").size(), 2u);
    EXPECT_EQ(SplitFilter("").size(), 0u);
}

// The toolkit matches patterns with case; the platform's dialogs do not.
TEST(DialogFilters, PatternsMatchNamesWhateverTheirCase) {
    // As the file dialog matches its name filters.
    auto matches = [](const std::string& pattern, const char* name) {
        QRegularExpression re(
            QRegularExpression::wildcardToRegularExpression(CaseBlindPattern(pattern)));
        return re.match(QString::fromUtf8(name)).hasMatch();
    };
    EXPECT_TRUE(matches("*.MP3", "song.mp3"));
    EXPECT_TRUE(matches("*.MP3", "Song.Mp3"));
    EXPECT_TRUE(matches("*.MP+", "live.mp+"));
    EXPECT_FALSE(matches("*.MP3", "song.mp3.bak"));
    EXPECT_FALSE(matches("*.MP3", "song.mp4"));
    EXPECT_TRUE(matches("*.*", "README"));  // every name, as on the platform
}

TEST(MessageBoxes, ButtonsAndTheAnswerToClosingFollowTheType) {
    EXPECT_EQ(MessageBoxButtons(MB_YESNO | MB_ICONQUESTION), (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(MessageBoxButtons(35), (std::vector<int>{IDYES, IDNO, IDCANCEL}));
    EXPECT_EQ(MessageBoxEscape(35), IDCANCEL);
    EXPECT_EQ(MessageBoxEscape(36), 0);  // Yes/No cannot be closed without choosing
    EXPECT_EQ(MessageBoxEscape(MB_OK | MB_ICONERROR), IDOK);
}

TEST(ScriptedDialogs, AnswerFromTheQueueAndRecordEveryCall) {
    TDialogService* toolkit = &Dialogs();
    {
        TScriptedDialogs dialogs;
        EXPECT_EQ(&Dialogs(), &dialogs);
        dialogs.AnswerButton(IDNO);
        dialogs.AnswerFiles({"/music/a.mp3", "/music/b.ogg"});
        dialogs.AnswerFiles({"/libs/new"});
        dialogs.AnswerCancel();
        dialogs.AnswerFolder("/music");

        EXPECT_EQ(MessageBox(0, "Save changes?", "Confirmation", 35), IDNO);
        // An OK box takes no answer.
        EXPECT_EQ(MessageBox(0, "Done.", "Information", MB_OK | MB_ICONINFORMATION), IDOK);

        TFileDialogRequest open;
        open.Filter = "Audio|*.mp3";
        open.Options = ofAllowMultiSelect | ofFileMustExist;
        open.InitialDir = "/music";
        TFileDialogResult chosen;
        ASSERT_TRUE(Dialogs().OpenFiles(open, chosen));
        EXPECT_EQ(chosen.Files, (std::vector<std::string>{"/music/a.mp3", "/music/b.ogg"}));
        EXPECT_EQ(chosen.FilterIndex, 1);

        // The default extension goes onto a name without one.
        TFileDialogRequest save;
        save.DefaultExt = "rvl";
        save.FileName = "Rock_Brief";
        ASSERT_TRUE(Dialogs().SaveFile(save, chosen));
        EXPECT_EQ(chosen.Files, std::vector<std::string>{"/libs/new.rvl"});
        EXPECT_FALSE(Dialogs().SaveFile(save, chosen));  // cancelled

        // A folder answer does not fit a question: cancelled, and the answer waits.
        EXPECT_EQ(MessageBox(0, "Delete selected track?", "Confirmation", 36), IDNO);
        std::string folder;
        ASSERT_TRUE(SelectDirectory("Select directory", "", folder));
        EXPECT_EQ(folder, "/music");
        EXPECT_EQ(MessageBox(0, "Clear library?", "Confirmation", 35), IDCANCEL);  // none left
        EXPECT_TRUE(OpenDocument("/out/list.htm", "/out"));

        ASSERT_EQ(dialogs.Calls.size(), 9u);
        const TDialogCall& first = dialogs.Calls[0];
        EXPECT_EQ(first.Kind, TDialogKind::Message);
        EXPECT_EQ(first.Title, "Confirmation");
        EXPECT_EQ(first.Text, "Save changes?");
        EXPECT_EQ(first.Type, 35u);
        EXPECT_TRUE(first.Answered);
        EXPECT_EQ(dialogs.Calls[2].Filter, "Audio|*.mp3");
        EXPECT_EQ(dialogs.Calls[2].InitialDir, "/music");
        EXPECT_EQ(dialogs.Calls[2].Type, unsigned(ofAllowMultiSelect | ofFileMustExist));
        EXPECT_EQ(dialogs.Calls[3].Text, "Rock_Brief");
        EXPECT_EQ(dialogs.Calls[3].DefaultExt, "rvl");
        EXPECT_TRUE(dialogs.Calls[4].Answered);  // the cancel was scripted
        EXPECT_FALSE(dialogs.Calls[5].Answered);
        EXPECT_EQ(dialogs.Calls[6].Kind, TDialogKind::Folder);
        EXPECT_FALSE(dialogs.Calls[7].Answered);
        EXPECT_EQ(dialogs.Calls[8].Kind, TDialogKind::Document);
        EXPECT_EQ(dialogs.Calls[8].WorkingDir, "/out");
        EXPECT_EQ(dialogs.Pending(), 0u);
    }
    EXPECT_EQ(&Dialogs(), toolkit);
}

TEST(ErrorBox, AnExceptionThatEscapesACommandIsShownAndTheSilentAbortIsNot) {
    test::App();
    TScriptedDialogs dialogs;
    RunReported([] { throw Exception("Cannot write /libs/a.rvl"); });
    RunReported([] { throw std::runtime_error("out of range"); });
    RunReported([] { Abort(); });
    ASSERT_EQ(dialogs.Errors(),
              (std::vector<std::string>{"Cannot write /libs/a.rvl", "out of range"}));
    EXPECT_EQ(dialogs.Calls[0].Type, MB_OK | MB_ICONERROR);

    // The silent abort reaches no handler either.
    int handled = 0;
    test::App().OnException = [&](const std::exception&) { ++handled; };
    RunReported([] { Abort(); });
    test::App().OnException = nullptr;
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(dialogs.Calls.size(), 2u);
}

TEST(ErrorBox, TheToolkitsBoxIsADialogOfTheMainWindowCentredOnIt) {
    test::RecordingWindow main(400, 300);
    SetWindowBounds(main.wnd, Bounds(40, 60, 400, 300));
    main.Show();
    const HWND before = test::App().MainWindow();
    test::App().SetMainWindow(main.wnd);
    TDialogService* scripted = SetDialogService(nullptr);
    // Nobody's window is active (the error came while no window had the focus): the box still
    // belongs to the main window.
    QApplication::setActiveWindow(nullptr);
    QWidget* parent = nullptr;
    Qt::WindowType type = Qt::Widget;
    QPoint centre;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        parent = box->parentWidget();
        type = box->windowType();
        centre = box->geometry().center();
        static_cast<QDialog*>(box)->reject();
    });
    RunReported([] { throw Exception("Cannot write /libs/a.rvl"); });
    SetDialogService(scripted);
    test::App().SetMainWindow(before);
    EXPECT_EQ(parent, main.Widget());
    EXPECT_EQ(type, Qt::Dialog);
    QPoint mainCentre = main.Widget()->geometry().center();
    EXPECT_LE((centre - mainCentre).manhattanLength(), 2) << centre.x() << "," << centre.y();
}

TEST(FolderDialog, TheToolkitsOffersEachCdDriveAsAPlaceOfItsOwn) {
    test::App();
    test::FakeDrivesFile drives("drive /dev/sr0\ndrive /dev/sr1\nmount /media/cdrom1\n");
    TDialogService* scripted = SetDialogService(nullptr);
    QStringList offered;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        QPushButton* sr0 = nullptr;
        for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
            if (!b->text().startsWith("Audio CD")) continue;
            offered << b->text();
            if (b->text().contains("sr0")) sr0 = b;
        }
        if (sr0)
            sr0->click();
        else
            static_cast<QDialog*>(dialog)->reject();
    });
    std::string folder;
    const bool chosen = SelectDirectory("Select directory", "", folder);
    SetDialogService(scripted);
    EXPECT_EQ(offered, (QStringList{"Audio CD (/dev/sr0)", "Audio CD (/dev/sr1)"}));
    EXPECT_TRUE(chosen);
    EXPECT_EQ(folder, "/dev/sr0");
}

// The toolkit's dialogs land whole, frame included, on the work area of their screen, with
// their parts inside them: also on a small screen at 200 % (the case runs on such screens too).
TEST(ToolkitDialogs, FileFolderAndMessageDialogsLandWholeOnTheWorkArea) {
    test::App();
    test::RecordingWindow main(400, 300);
    main.Show();
    TDialogService* scripted = SetDialogService(nullptr);
    const std::vector<std::string> fileParts = {"fileTypeCombo", "fileNameEdit", "Cancel"};
    std::vector<std::pair<std::string, test::ToolkitDialogView>> seen(4);
    TFileDialogRequest request;
    request.Owner = main.wnd;
    request.Title = "Open";
    request.Filter = "Library files|*.rvl|All files|*.*";
    TFileDialogResult result;
    seen[0].first = "Open";
    test::LookAtNextToolkitDialog(seen[0].second, fileParts);
    Dialogs().OpenFiles(request, result);
    seen[1].first = "Save As";
    test::LookAtNextToolkitDialog(seen[1].second, fileParts);
    Dialogs().SaveFile(request, result);
    std::string folder;
    seen[2].first = "Select directory";
    test::LookAtNextToolkitDialog(seen[2].second, {"Cancel"});
    Dialogs().SelectFolder(main.wnd, "Select directory", "", folder);
    // A message box sizes itself to its text as it is shown.
    std::string lines;
    for (int i = 1; i <= 60; ++i) lines += "Line " + std::to_string(i) + " of a long message\n";
    seen[3].first = "a long message";
    test::LookAtNextToolkitDialog(seen[3].second, {"OK"});
    Dialogs().MessageBox(main.wnd, lines, "Information", MB_OK);
    SetDialogService(scripted);

    for (const auto& [what, view] : seen) {
        ASSERT_TRUE(view.seen) << what;
        EXPECT_EQ(IntersectRect(view.frame, view.workArea), view.frame)
            << what << ": " << view.frame.Left << "," << view.frame.Top << " " << view.frame.Width()
            << "x" << view.frame.Height() << " on " << view.workArea.Width() << "x"
            << view.workArea.Height();
        for (const auto& [part, at] : view.parts) {
            EXPECT_FALSE(at.IsEmpty()) << what << ": " << part;
            EXPECT_EQ(IntersectRect(at, view.frame), at) << what << ": " << part;
        }
    }
}

}  // namespace
}  // namespace rv
