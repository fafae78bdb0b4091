#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QListView>
#include <QSignalSpy>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <fstream>

#include "css/listing.h"
#include "pages/code_page.h"
#include "platform/qt_desktop_services.h"
#include "platform/qt_file_watcher.h"
#include "platform/qt_settings_store.h"

namespace larkspur {
namespace {

TEST(QtSettingsStoreTest, ValuesLiveUnderTheCompanyAndApplication) {
    QtSettingsStore store;
    QSettings raw(QStringLiteral("Fernhollow"), QStringLiteral("Larkspur"));
    raw.remove(QStringLiteral("TestSection"));
    EXPECT_EQ(store.GetInt("TestSection", "Number", 7), 7);
    EXPECT_EQ(store.GetString("TestSection", "Text", "none"), "none");
    store.SetInt("TestSection", "Number", 2);
    store.SetString("TestSection", "Text", "12:00 \xC3\xA9t\xC3\xA9");
    EXPECT_EQ(store.GetInt("TestSection", "Number", 7), 2);
    EXPECT_EQ(store.GetString("TestSection", "Text", ""), "12:00 \xC3\xA9t\xC3\xA9");
    raw.sync();
    EXPECT_EQ(raw.value(QStringLiteral("TestSection/Number")).toInt(), 2);
    raw.setValue(QStringLiteral("TestSection/Number"), QStringLiteral("not a number"));
    EXPECT_EQ(store.GetInt("TestSection", "Number", 7), 7);
    raw.remove(QStringLiteral("TestSection"));
}

TEST(QtDesktopServicesTest, ClipboardTakesTheTextAndMissingDocumentsFail) {
    QtDesktopServices desktop;
    desktop.SetClipboardText("H1{\r\n}");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "H1{\r\n}");
    EXPECT_FALSE(desktop.OpenDocument("/nonexistent/qstart.html"));
}

// ---- Code page ----

TEST(CodePageTest, FollowsTheListingLineByLineWithoutRebuilding) {
    Listing listing;
    listing.Assign("P {\n}\n");
    CCodePage page;
    page.ShowListing(listing);
    listing.SetObserver(&page);
    QSignalSpy resets(page.List()->model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserted(page.List()->model(), &QAbstractItemModel::rowsInserted);

    listing.Insert(4, "color: red;\n");
    listing.Insert(listing.Size(), "H1{\n}\n");
    listing.ReplaceRange(11, 3, "blue");
    listing.Erase(listing.LineStart(3), listing.Size() - listing.LineStart(3));
    EXPECT_EQ(resets.count(), 0);  // line by line, never the whole list again
    EXPECT_EQ(inserted.count(), 3);
    QStringList shown;
    for (int i = 0; i < page.LineCount(); ++i) shown << page.LineText(i);
    EXPECT_EQ(shown, (QStringList{"P {", "color: blue;", "}"}));
    listing.Clear();
    EXPECT_EQ(page.LineCount(), 0);
    listing.SetObserver(nullptr);
}

TEST(CodePageTest, LinesCannotBeSelectedAndLongListingsScrollDownOnly) {
    Listing listing;
    CCodePage page;
    page.ShowListing(listing);
    listing.SetObserver(&page);
    for (int i = 0; i < 200; ++i) listing.Insert(listing.Size(), "background-image: url(" + std::string(200, 'x') + ");\n");
    page.resize(200, 150);
    page.show();
    QListView* list = page.List();
    EXPECT_EQ(list->accessibleName(), "Code");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 0)).center());
    EXPECT_TRUE(list->selectionModel()->selectedIndexes().isEmpty());
    EXPECT_TRUE(list->verticalScrollBar()->isVisible());
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    listing.SetObserver(nullptr);
}

// Each way another program changes a file is told, and the watch lasts
// through a rename over the file and through the file going and coming back.
TEST(QtFileWatcherTest, ReportsWritesRenamesOverDeletionAndReturn) {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("w.css")).toStdString();
    const std::string other = dir.filePath(QStringLiteral("x.css")).toStdString();
    std::ofstream(path) << "A{}";
    QtFileWatcher watcher;
    int told = 0;
    watcher.onChanged = [&](const std::string& changed) {
        EXPECT_EQ(changed, path);
        ++told;
    };
    watcher.Watch(path);
    const auto expectTold = [&](const char* what) {
        SCOPED_TRACE(what);
        QTRY_VERIFY_WITH_TIMEOUT(told > 0, 5000);
        QTest::qWait(50);
        told = 0;
    };
    std::ofstream(path, std::ios::app) << "B{}";
    expectTold("written");
    for (int i = 0; i < 2; ++i) {
        std::ofstream(other) << "C{}";
        ASSERT_EQ(std::rename(other.c_str(), path.c_str()), 0);
        expectTold("replaced by a rename");
    }
    ASSERT_EQ(std::remove(path.c_str()), 0);
    expectTold("deleted");
    std::ofstream(path) << "D{}";
    expectTold("back");
    std::ofstream(path, std::ios::app) << "E{}";
    expectTold("written after coming back");
    // A file beside it is none of its business, nor a file no longer watched.
    std::ofstream(other) << "F{}";
    watcher.Unwatch(path);
    std::ofstream(path, std::ios::app) << "G{}";
    QTest::qWait(200);
    EXPECT_EQ(told, 0);
}

}  // namespace
}  // namespace larkspur
