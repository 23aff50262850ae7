// The address-book dialog module behind GetAddressList, driven like a user
// would: the test finds the dialog's widgets once it is shown, picks entries,
// types names and presses its buttons, then checks what GetAddressList hands
// back. Runs in a process with its own QApplication and in one without, where
// the module makes one for the time of the dialog.
#include "MailTestSupport.h"

#include "tarn/LUSendMailDialog.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <clocale>
#include <cstdlib>
#include <dlfcn.h>
#include <functional>
#include <memory>
#include <thread>

namespace {

using Script = std::function<void(QDialog&)>;

// The script for the next dialog that appears.
Script g_script;

QDialog* ShownDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "LUSendMailAddressDialog" && widget->isVisible())
            return qobject_cast<QDialog*>(widget);
    }
    return nullptr;
}

// Polls until the dialog is shown, then plays the script on it. A script that
// leaves the dialog open is a failure; the dialog is cancelled so that the
// test ends.
void PlayWhenShown(int attemptsLeft) {
    QDialog* dialog = ShownDialog();
    if (!dialog) {
        if (attemptsLeft == 0)
            ADD_FAILURE() << "the dialog was never shown";
        else
            QTimer::singleShot(10, [attemptsLeft] { PlayWhenShown(attemptsLeft - 1); });
        return;
    }
    const Script script = std::move(g_script);
    g_script = nullptr;
    script(*dialog);
    if (dialog->isVisible()) {
        ADD_FAILURE() << "the script left the dialog open";
        dialog->reject();
    }
}

void StartPlaying() {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { PlayWhenShown(1000); }, Qt::QueuedConnection);
}

// Without an application of the test's own, the script starts as soon as the
// module has made one.
void StartPlayingInNewApplication() {
    if (g_script)
        StartPlaying();
}
Q_COREAPP_STARTUP_FUNCTION(StartPlayingInNewApplication)

template <class Widget> Widget* Find(QDialog& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << "no widget " << name;
    return widget;
}

void Click(QDialog& dialog, const char* button) {
    if (auto* widget = Find<QPushButton>(dialog, button))
        QTest::mouseClick(widget, Qt::LeftButton);
}

QTreeWidgetItem* BookItem(QDialog& dialog, const QString& name, int match = 0) {
    const auto items = Find<QTreeWidget>(dialog, "book")->findItems(name, Qt::MatchExactly, 0);
    EXPECT_GT(items.size(), match) << name.toStdString();
    return items.size() > match ? items[match] : nullptr;
}

// Selects one entry of the book (the match-th of that name) and presses "To".
void Pick(QDialog& dialog, const QString& name, int match = 0) {
    auto* book = Find<QTreeWidget>(dialog, "book");
    book->clearSelection();
    if (QTreeWidgetItem* item = BookItem(dialog, name, match))
        item->setSelected(true);
    Click(dialog, "to");
}

void Type(QDialog& dialog, const QString& text) {
    auto* name = Find<QLineEdit>(dialog, "name");
    name->setFocus();
    for (const QChar letter : text) // keyClicks knows ASCII only
        QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString(letter), Qt::NoModifier);
    QTest::keyClick(name, Qt::Key_Return);
}

QStringList Well(QDialog& dialog) {
    QStringList names;
    auto* well = Find<QListWidget>(dialog, "well");
    for (int row = 0; row < well->count(); ++row)
        names << well->item(row)->text();
    return names;
}

class AddressDialogTest : public ::testing::TestWithParam<bool> {
protected:
    CMailTestSystem mail;
    SendMailLogonRecord logon{};
    std::unique_ptr<QApplication> application;
    int argc = 1;
    char program[16] = "dialog_test";
    char* argv[2] = {program, nullptr};

    void SetUp() override {
        g_script = nullptr;
        if (GetParam())
            application = std::make_unique<QApplication>(argc, argv);
        TestMessage credentials("");
        ASSERT_EQ(SendMailLogon(&logon, &credentials.info), SENDMAIL_OK);
    }
    void TearDown() override {
        SendMailLogoff(&logon);
        g_script = nullptr;
        application.reset();
    }

    // GetAddressList with the script as the user; the buffer is pre-filled with
    // "#" so that an untouched buffer shows.
    std::string Request(const char* initial, Script script, int32_t& code, int32_t size = 256) {
        g_script = std::move(script);
        if (application)
            StartPlaying();
        std::vector<char> buffer(static_cast<size_t>(size), '#');
        buffer.back() = '\0';
        AddressListInfo request{"Empf\xC3\xA4ngerauswahl", initial, buffer.data(), size};
        code = GetAddressList(&logon, &request);
        return buffer.data();
    }
};

const Script kConfirm = [](QDialog& dialog) { Click(dialog, "ok"); };

TEST_P(AddressDialogTest, PickedEntriesComeBackInOrder) {
    int32_t code = -1;
    const std::string chosen = Request(
        nullptr,
        [](QDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Empf\xC3\xA4ngerauswahl"));
            EXPECT_TRUE(dialog.isModal());
            Pick(dialog, "Bob");
            Pick(dialog, "Alice Example");
            Click(dialog, "ok");
        },
        code);
    EXPECT_EQ(code, SENDMAIL_OK) << "the module is beside the library, so the dialog is shown";
    EXPECT_EQ(chosen, "Bob;Alice Example");
}

TEST_P(AddressDialogTest, CancelGivesThirteenAndLeavesTheBuffer) {
    int32_t code = -1;
    const std::string chosen = Request(
        "Bob",
        [](QDialog& dialog) {
            Pick(dialog, "Alice Example");
            Click(dialog, "cancel");
        },
        code);
    EXPECT_EQ(code, SENDMAIL_DIALOG_FAILED);
    EXPECT_EQ(chosen, std::string(255, '#'));
}

TEST_P(AddressDialogTest, ApplicationMadeForTheDialogIsGoneAfterwards) {
    std::setlocale(LC_ALL, "C");
    int32_t code = -1;
    Request(nullptr, kConfirm, code);
    EXPECT_EQ(code, SENDMAIL_OK);
    EXPECT_EQ(QCoreApplication::instance(), application.get());
    EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C") << "the caller's locale is restored";
    // A second request in the same process works as well.
    const std::string chosen = Request(
        nullptr, [](QDialog& dialog) { Pick(dialog, "Bob"), Click(dialog, "ok"); }, code);
    EXPECT_EQ(code, SENDMAIL_OK);
    EXPECT_EQ(chosen, "Bob");
}

INSTANTIATE_TEST_SUITE_P(, AddressDialogTest, ::testing::Values(true, false), [](const auto& info) {
    return info.param ? "CallerApplication" : "OwnApplication";
});

// The rest runs in a process with an application of its own.
class AddressDialogWidgetTest : public AddressDialogTest {};

TEST_P(AddressDialogWidgetTest, InitialNamesAreResolvedIntoTheWell) {
    char initial[] = "alice example;bob@elsewhere.org; ;BOB;Bob";
    int32_t code = -1;
    const std::string chosen = Request(
        initial,
        [](QDialog& dialog) {
            EXPECT_EQ(Well(dialog), QStringList({"Alice Example", "bob@elsewhere.org", "Bob"}))
                << "names take the book's spelling, blanks are dropped, each name once";
            Click(dialog, "ok");
        },
        code);
    EXPECT_EQ(code, SENDMAIL_OK);
    EXPECT_EQ(chosen, "Alice Example;bob@elsewhere.org;Bob");
    EXPECT_STREQ(initial, "alice example;bob@elsewhere.org; ;BOB;Bob");
}

TEST_P(AddressDialogWidgetTest, UnresolvedNameKeepsTheDialogOpenUntilRemoved) {
    int32_t code = -1;
    const std::string chosen = Request(
        "Nobody;Support;Bob",
        [](QDialog& dialog) {
            Click(dialog, "ok");
            ASSERT_TRUE(dialog.isVisible()) << "confirmed with an unknown name";
            EXPECT_TRUE(Find<QLabel>(dialog, "status")->text().contains("Nobody"));
            auto* well = Find<QListWidget>(dialog, "well");
            well->item(0)->setSelected(true);
            Click(dialog, "remove");
            Click(dialog, "ok");
            ASSERT_TRUE(dialog.isVisible()) << "\"Support\" names two entries";
            EXPECT_TRUE(Find<QLabel>(dialog, "status")->text().contains("Support"));
            well->clearSelection();
            well->item(0)->setSelected(true);
            well->setFocus();
            QTest::keyClick(well, Qt::Key_Delete);
            EXPECT_EQ(Well(dialog), QStringList({"Bob"}));
            Click(dialog, "ok");
        },
        code);
    EXPECT_EQ(code, SENDMAIL_OK);
    EXPECT_EQ(chosen, "Bob");
}

TEST_P(AddressDialogWidgetTest, EntryWithASharedNameComesBackAsItsAddress) {
    int32_t code = -1;
    const std::string chosen = Request(
        nullptr,
        [](QDialog& dialog) {
            Pick(dialog, "support");
            Click(dialog, "ok");
        },
        code);
    EXPECT_EQ(code, SENDMAIL_OK);
    EXPECT_EQ(chosen, "support2@example.org") << "\"support\" would not resolve when sending";
}

TEST_P(AddressDialogWidgetTest, TypedNamesAndDoubleClicks) {
    int32_t code = -1;
    const std::string chosen = Request(
        nullptr,
        [](QDialog& dialog) {
            Type(dialog, QString::fromUtf8("j\xC3\xBCr"));
            ASSERT_TRUE(dialog.isVisible()) << "Enter in the name field confirmed the dialog";
            Type(dialog, "carol@example.net");
            Type(dialog, "Nobody");
            EXPECT_FALSE(Find<QLabel>(dialog, "status")->text().isEmpty());
            EXPECT_EQ(Find<QLineEdit>(dialog, "name")->text(), "Nobody") << "kept for a fix";
            Find<QLineEdit>(dialog, "name")->clear();
            auto* book = Find<QTreeWidget>(dialog, "book");
            for (int twice = 0; twice < 2; ++twice) {
                QTreeWidgetItem* bob = BookItem(dialog, "Bob");
                ASSERT_NE(bob, nullptr);
                const QPoint centre = book->visualItemRect(bob).center();
                QTest::mouseDClick(book->viewport(), Qt::LeftButton, {}, centre);
            }
            EXPECT_EQ(Well(dialog), QStringList({QString::fromUtf8("J\xC3\xBCrgen M\xC3\xBCller"),
                                                 "carol@example.net", "Bob"}));
            Click(dialog, "ok");
        },
        code);
    EXPECT_EQ(code, SENDMAIL_OK);
    EXPECT_EQ(chosen, "J\xC3\xBCrgen M\xC3\xBCller;carol@example.net;Bob");
}

TEST_P(AddressDialogWidgetTest, BookListsEveryEntry) {
    int32_t code = -1;
    Request(
        nullptr,
        [](QDialog& dialog) {
            EXPECT_EQ(Find<QTreeWidget>(dialog, "book")->topLevelItemCount(), 7);
            QTreeWidgetItem* jane = BookItem(dialog, "Doe, Jane");
            ASSERT_NE(jane, nullptr);
            EXPECT_EQ(jane->text(1), "jane@example.org");
            Click(dialog, "ok");
        },
        code);
    EXPECT_EQ(code, SENDMAIL_OK);
}

INSTANTIATE_TEST_SUITE_P(, AddressDialogWidgetTest, ::testing::Values(true),
                         [](const auto&) { return "CallerApplication"; });

// Without a display and without a platform chosen by the caller, the module
// neither ends the process nor waits for a dialog nobody sees.
TEST(AddressDialogWithoutDisplay, GivesThirteen) {
    CMailTestSystem mail;
    SendMailLogonRecord logon{};
    TestMessage credentials("");
    ASSERT_EQ(SendMailLogon(&logon, &credentials.info), SENDMAIL_OK);
    const std::string platform =
        std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
    ::unsetenv("QT_QPA_PLATFORM");
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    char buffer[16] = "untouched";
    AddressListInfo request{"x", nullptr, buffer, sizeof buffer};
    EXPECT_EQ(GetAddressList(&logon, &request), SENDMAIL_DIALOG_FAILED);
    EXPECT_STREQ(buffer, "untouched");
    if (!platform.empty())
        ::setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
    SendMailLogoff(&logon);
}

// A dialog can only be shown on the thread of a widget application.
class AddressDialogWrongPlaceTest : public ::testing::Test {
protected:
    CMailTestSystem mail;
    SendMailLogonRecord logon{};
    int argc = 1;
    char program[16] = "dialog_test";
    char* argv[2] = {program, nullptr};

    void SetUp() override {
        TestMessage credentials("");
        ASSERT_EQ(SendMailLogon(&logon, &credentials.info), SENDMAIL_OK);
    }
    void TearDown() override { SendMailLogoff(&logon); }
    int32_t Request() {
        char buffer[16] = "";
        AddressListInfo request{"x", "Bob", buffer, sizeof buffer};
        return GetAddressList(&logon, &request);
    }
};

TEST_F(AddressDialogWrongPlaceTest, ApplicationWithoutWidgetsGivesThirteen) {
    QCoreApplication application(argc, argv);
    EXPECT_EQ(Request(), SENDMAIL_DIALOG_FAILED);
}

TEST_F(AddressDialogWrongPlaceTest, OtherThreadGivesThirteen) {
    QApplication application(argc, argv);
    int32_t code = -1;
    std::thread([&] { code = Request(); }).join();
    EXPECT_EQ(code, SENDMAIL_DIALOG_FAILED);
}

// The module refuses requests it cannot serve instead of reading bad memory.
TEST(AddressDialogModule, RefusesIncompleteRequests) {
    void* module = ::dlopen(TARN_BIN_DIR "/" LUSENDMAIL_DIALOG_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << ::dlerror();
    const auto show =
        reinterpret_cast<PFN_LUSendMailAddressDialog>(::dlsym(module, LUSENDMAIL_DIALOG_EXPORT));
    ASSERT_NE(show, nullptr);
    const auto ignore = [](void*, const char*) {};
    EXPECT_NE(show("x", nullptr, 0, nullptr, 0, nullptr, nullptr), 0) << "no callback";
    EXPECT_NE(show("x", nullptr, 1, nullptr, 0, ignore, nullptr), 0) << "entries missing";
    EXPECT_NE(show("x", nullptr, 0, nullptr, 2, ignore, nullptr), 0) << "names missing";
    EXPECT_NE(show("x", nullptr, -1, nullptr, 0, ignore, nullptr), 0) << "negative size";
    ::dlclose(module);
}

} // namespace
