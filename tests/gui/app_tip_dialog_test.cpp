#include <gtest/gtest.h>

#include <unistd.h>

#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QCoreApplication>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/tip_dialog.h"
#include "model/tips_file.h"
#include "fake_platform.h"

namespace larkspur {
namespace {

namespace fs = std::filesystem;

void PressEscape(QWidget& w) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &press);
}

class TipDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("larkspur-tipdlg-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        path = (dir / "tips.txt").string();
        Write("; Tips for the editor\n\nFirst tip\nSecond tip\n;note\nThird tip\n");
    }
    void TearDown() override { fs::remove_all(dir); }
    void Write(const std::string& text) { std::ofstream(path, std::ios::trunc) << text; }
    std::unique_ptr<CTipDlg> Make() { return std::make_unique<CTipDlg>(settings, dialogs, path); }

    fs::path dir;
    std::string path;
    testing::FakeSettings settings;
    testing::FakeDialogs dialogs;
};

TEST_F(TipDialogTest, ShowsTipsInOrderAndCarriesOnAcrossShowings) {
    auto dlg = Make();
    EXPECT_EQ(dlg->TipText(), "First tip");
    EXPECT_TRUE(dlg->NextButton()->isEnabled());
    dlg->NextButton()->click();
    EXPECT_EQ(dlg->TipText(), "Second tip");
    dlg.reset();
    // The next showing starts after the last tip read.
    EXPECT_EQ(Make()->TipText(), "Third tip");
    auto wrapped = Make();
    EXPECT_EQ(wrapped->TipText(), "First tip");
    wrapped->NextTip();
    wrapped->NextTip();
    wrapped->NextTip();
    EXPECT_EQ(wrapped->TipText(), "First tip");
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(TipDialogTest, ReplacedFileRestartsAtItsFirstTip) {
    Make().reset();
    Make().reset();
    ASSERT_GT(settings.GetInt("Tip", "FilePos", 0), 0);
    // A different birth time than the one stored marks a new file.
    settings.strings["Tip/TimeStamp"] = "Thu Jan  1 00:00:00 1970";
    auto dlg = Make();
    EXPECT_EQ(dlg->TipText(), "First tip");
    EXPECT_EQ(settings.GetString("Tip", "TimeStamp", ""), FileTimeStamp(path));
    EXPECT_NE(settings.GetString("Tip", "TimeStamp", ""), "");
}

TEST_F(TipDialogTest, StartUpIsWrittenByCloseOnly) {
    struct Case {
        const char* name;
        int stored;  // -1: missing
        bool check;
        bool close;  // else Escape
        int expected;  // -1: not written
    };
    const Case cases[] = {
        {"missing, uncheck, Close", -1, false, true, 1},
        {"1, check, Close", 1, true, true, 0},
        {"missing, uncheck, Escape", -1, false, false, -1},
        {"1, check, Escape", 1, true, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings = testing::FakeSettings();
        if (c.stored >= 0) settings.ints["Tip/StartUp"] = c.stored;
        auto dlg = Make();
        EXPECT_EQ(dlg->Startup(), c.stored > 0 ? 0 : 1);
        EXPECT_EQ(dlg->StartupBox()->isChecked(), c.stored <= 0);
        dlg->show();
        dlg->StartupBox()->setChecked(c.check);
        if (c.close)
            dlg->CloseButton()->click();
        else
            PressEscape(*dlg);
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_EQ(dlg->result(), c.close ? QDialog::Accepted : QDialog::Rejected);
        if (c.expected < 0)
            EXPECT_EQ(settings.GetInt("Tip", "StartUp", -7), c.stored < 0 ? -7 : c.stored);
        else
            EXPECT_EQ(settings.GetInt("Tip", "StartUp", -7), c.expected);
    }
}

TEST_F(TipDialogTest, MissingFileShowsTheTextAndStoresNoPosition) {
    fs::remove(path);
    auto dlg = Make();
    EXPECT_EQ(dlg->TipText(), CTipDlg::kMissingFile);
    EXPECT_FALSE(dlg->NextButton()->isEnabled());
    dlg.reset();
    EXPECT_EQ(settings.ints.count("Tip/FilePos"), 0u);
}

TEST_F(TipDialogTest, UnreachablePositionOrTiplessFileEndsWithoutHanging) {
    settings.strings["Tip/TimeStamp"] = FileTimeStamp(path);
    settings.ints["Tip/FilePos"] = -5;
    auto dlg = Make();
    EXPECT_EQ(dlg->TipText(), "");
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{CTipDlg::kTroubleReading});
    dlg.reset();
    // The position stored is the start, so the next showing recovers.
    EXPECT_EQ(settings.GetInt("Tip", "FilePos", -1), 0);
    EXPECT_EQ(Make()->TipText(), "First tip");

    Write(";only\n\n  indented\n");
    settings.strings.clear();
    auto empty = Make();
    EXPECT_EQ(empty->TipText(), "");
    empty->NextTip();
    EXPECT_EQ(empty->TipText(), "");
}

}  // namespace
}  // namespace larkspur
