// The notify profile list and the profile sheet over a real configuration
// database: adding, editing and removing profiles, the required name, the
// marks of a profile's notifications and their sending order, removing a
// notification from every profile, and Cancel.
#include "BoxAnswerer.h"
#include "CDBEngineTARN.h"
#include "CEditableList.h"
#include "CNamedEntryModel.h"
#include "CNotificationRules.h"
#include "CNotificationSheet.h"
#include "CNotifyProfileSheet.h"
#include "CNotifyProfilesSheet.h"
#include "CProfileNotificationsPage.h"
#include "CReportList.h"
#include "FreshDatabase.h"
#include "ModalScript.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

class NotifyProfileSheetsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ListShowsEveryProfileAndRemovesOnlyOnYes();
    void ContextMenuOffersTheThreeCommands();
    void NewProfileNeedsAName();
    void EditingFromTheListStoresTheNewName();
    void StoredSendingOrderIsShownFirstAndKept();
    void ClickOnTheMarkTogglesIt();
    void UnmarkingRemovesFromThisProfileOnly();
    void RemovingANotificationRemovesItFromEveryProfile();
    void MovingUpChangesTheSendingOrder();
    void NotificationsAddedAndEditedOnThePageKeepTheMarks();
    void CancelStoresNothing();

private:
    std::unique_ptr<CFreshDatabase> m_pData;
    CDBEngineTARN* m_pDB = nullptr;

    NotifySheetContext Context() { return {*m_pDB, QStringLiteral("velda TARN! 2.5"), {}}; }
    int32_t StoreNotification(const std::string& name);
    int32_t StoreProfile(const std::string& name, const DBKeyList& notifications);
    DBKeyList SendingOrder(int32_t profile) {
        DBKeyList ids;
        m_pDB->GetNotifyProfileNotifications(profile, ids);
        return ids;
    }
    std::string ProfileName(int32_t profile) {
        DBNotifyProfile record;
        m_pDB->GetNotifyProfile(profile, record);
        return record.NAME;
    }
};

namespace {

QString Cell(CReportList& list, int row, int column = 0) {
    return list.model()->index(row, column).data().toString();
}

QStringList Names(CReportList& list) {
    QStringList names;
    for (int row = 0; row < list.model()->rowCount(); ++row)
        names << Cell(list, row);
    return names;
}

QList<int> Marks(CReportList& list) {
    QList<int> marks;
    for (int row = 0; row < list.model()->rowCount(); ++row)
        marks << list.model()->index(row, 0).data(CNamedEntryModel::kStateImageRole).toInt();
    return marks;
}

int RowNamed(CReportList& list, const QString& name) {
    return static_cast<int>(Names(list).indexOf(name));
}

void Select(CReportList& list, const QString& name) {
    list.setFocus();
    list.SelectSourceRow(list.SourceRow(RowNamed(list, name)));
}

// A left click on the state image of the row, where a user clicks it.
void ClickMark(CReportList& list, int row) {
    const QModelIndex index = list.model()->index(row, 0);
    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.rect = list.visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = index.data().toString();
    const QRect mark =
        list.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &list);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, mark.center());
}

void DoubleClick(CReportList& list, int row) {
    const QPoint at = list.visualRect(list.model()->index(row, 1)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
}

void Type(QWidget* field, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(field);
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace

void NotifyProfileSheetsTest::init() {
    m_pData = std::make_unique<CFreshDatabase>();
    m_pDB = &m_pData->Engine();
    QVERIFY(m_pData->IsOpen());
}

void NotifyProfileSheetsTest::cleanup() {
    m_pDB = nullptr;
    m_pData.reset();
}

int32_t NotifyProfileSheetsTest::StoreNotification(const std::string& name) {
    DBNotification notification = CNotificationRules::NewNotification();
    notification.NAME = name;
    notification.DESCRIPTION = "an " + name;
    if (!m_pDB->SetNotification(notification))
        qFatal("cannot store a notification");
    return notification.NOTIFICATION_ID;
}

int32_t NotifyProfileSheetsTest::StoreProfile(const std::string& name,
                                              const DBKeyList& notifications) {
    DBNotifyProfile profile;
    profile.PROFILE_ID = DB_KEY_NEW;
    profile.NAME = name;
    profile.DESCRIPTION = "Profil " + name;
    if (!m_pDB->SetNotifyProfile(profile) ||
        !m_pDB->SetNotifyProfileNotifications(profile.PROFILE_ID, notifications))
        qFatal("cannot store a profile");
    return profile.PROFILE_ID;
}

void NotifyProfileSheetsTest::ListShowsEveryProfileAndRemovesOnlyOnYes() {
    const int32_t night = StoreProfile("Nacht", {});
    StoreProfile("Tag", {});
    DBAudition audition;
    audition.AUDITION_ID = DB_KEY_NEW;
    audition.AUDITION_TYPE = static_cast<int32_t>(AuditionType::Net);
    audition.NAME = "Ping";
    QVERIFY(m_pDB->SetAudition(audition));
    QVERIFY(m_pDB->SetAuditNotifyProfiles(audition.AUDITION_ID, {night}));

    CNotifyProfilesSheet sheet(Context());
    QAbstractItemModelTester tester(&sheet.Model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    sheet.show();
    CReportList& list = sheet.List().List();
    QCOMPARE(sheet.windowTitle(), QStringLiteral("Benachrichtigungsprofile"));
    QCOMPARE(Names(list), QStringList({"Nacht", "Tag"}));
    QCOMPARE(Cell(list, 0, 1), QStringLiteral("Profil Nacht"));
    QCOMPARE(list.model()->headerData(1, Qt::Horizontal).toString(),
             QStringLiteral("Beschreibung"));

    Select(list, "Nacht");
    for (QMessageBox::StandardButton button : {QMessageBox::No, QMessageBox::Cancel}) {
        CBoxAnswerer answer(button);
        QTest::keyClick(&list, Qt::Key_Delete);
        QCOMPARE(answer.Text(), QStringLiteral("Möchten Sie das Profil wirklich entfernen?"));
        QCOMPARE(answer.Icon(), QMessageBox::Question);
        QCOMPARE(answer.Caption(), QStringLiteral("velda TARN! 2.5"));
        QCOMPARE(Names(list).size(), 2);
    }
    CBoxAnswerer yes(QMessageBox::Yes);
    QTest::keyClick(&list, Qt::Key_Delete);
    QVERIFY(yes.Answered());
    QCOMPARE(Names(list), QStringList({"Tag"}));
    DBNotifyProfileList stored;
    QVERIFY(m_pDB->GetAllNotifyProfiles(stored));
    QCOMPARE(stored.size(), size_t{1});
    DBKeyList linked{night};
    QVERIFY(m_pDB->GetAuditNotifyProfiles(audition.AUDITION_ID, linked));
    QVERIFY(linked.empty());
}

void NotifyProfileSheetsTest::ContextMenuOffersTheThreeCommands() {
    StoreProfile("Nacht", {});
    CNotifyProfilesSheet sheet(Context());
    sheet.show();
    CEditableList& editable = sheet.List();
    std::unique_ptr<QMenu> menu(editable.MakeContextMenu(&sheet));
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << action->text();
    QCOMPARE(texts, QStringList({"&Hinzufügen...", "&Bearbeiten...", "&Entfernen"}));
    QVERIFY(!menu->actions()[2]->isEnabled()); // nothing selected yet
    Select(editable.List(), "Nacht");
    QVERIFY(menu->actions()[2]->isEnabled());
    CBoxAnswerer yes(QMessageBox::Yes);
    menu->actions()[2]->trigger();
    QVERIFY(yes.Answered());
    QCOMPARE(sheet.Model().rowCount(), 0);
}

void NotifyProfileSheetsTest::NewProfileNeedsAName() {
    CNotifyProfilesSheet sheet(Context());
    sheet.show();
    bool refusedOnLeaving = false, refusedOnOk = false;
    CModalScript<CNotifyProfileSheet> script([&](CNotifyProfileSheet& profile) {
        QCOMPARE(profile.windowTitle(), QStringLiteral("Benachrichtigungsprofileigenschaften"));
        QCOMPARE(profile.Tabs().tabText(0), QStringLiteral("Allgemein"));
        QCOMPARE(profile.Tabs().tabText(1), QStringLiteral("Benachrichtigungen"));
        {
            CBoxAnswerer answer(QMessageBox::Ok);
            profile.Tabs().setCurrentIndex(1);
            refusedOnLeaving = answer.Text() == "Sie müssen dem Benachrichtigungsprofil erst "
                                                "einen Namen geben" &&
                               answer.Caption() == "TARN! Fehler aufgetreten";
            QCOMPARE(profile.Tabs().currentIndex(), 0);
        }
        {
            CBoxAnswerer answer(QMessageBox::Ok);
            QTest::mouseClick(profile.Buttons().button(QDialogButtonBox::Ok), Qt::LeftButton);
            refusedOnOk = answer.Answered() && profile.isVisible();
        }
        Type(profile.findChild<QWidget*>("NAME"), QStringLiteral("Bereitschaft"));
        Type(profile.findChild<QWidget*>("DESCRIPTION"), QStringLiteral("nachts"));
        QTest::mouseClick(profile.Buttons().button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    QTest::mouseClick(sheet.List().Button(CEditableList::CommandAdd), Qt::LeftButton);
    QVERIFY(script.Played());
    QVERIFY(refusedOnLeaving);
    QVERIFY(refusedOnOk);
    CReportList& list = sheet.List().List();
    QCOMPARE(Names(list), QStringList({"Bereitschaft"}));
    QCOMPARE(list.CurrentSourceRow(), 0); // the new profile is selected
    DBNotifyProfileList stored;
    QVERIFY(m_pDB->GetAllNotifyProfiles(stored));
    QCOMPARE(stored.size(), size_t{1});
    QCOMPARE(stored[0].DESCRIPTION, std::string("nachts"));
}

void NotifyProfileSheetsTest::EditingFromTheListStoresTheNewName() {
    const int32_t id = StoreProfile("Nacht", {});
    CNotifyProfilesSheet sheet(Context());
    sheet.resize(600, 400);
    sheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    CModalScript<CNotifyProfileSheet> script([&](CNotifyProfileSheet& profile) {
        auto* name = profile.findChild<QLineEdit*>("NAME");
        QCOMPARE(name->text(), QStringLiteral("Nacht"));
        Type(name, QStringLiteral("Wochenende"));
        profile.accept();
    });
    DoubleClick(sheet.List().List(), 0);
    QVERIFY(script.Played());
    QCOMPARE(ProfileName(id), std::string("Wochenende"));
    QCOMPARE(Names(sheet.List().List()), QStringList({"Wochenende"}));
}

void NotifyProfileSheetsTest::StoredSendingOrderIsShownFirstAndKept() {
    const int32_t a = StoreNotification("A");
    StoreNotification("B");
    const int32_t c = StoreNotification("C");
    const int32_t profile = StoreProfile("P", {c, a});
    CNotifyProfileSheet sheet(Context(), DBNotifyProfile{profile, "P", ""});
    QAbstractItemModelTester tester(&sheet.NotificationsPage().Model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    CReportList& list = sheet.NotificationsPage().List().List();
    QCOMPARE(Names(list), QStringList({"C", "A", "B"}));
    QCOMPARE(Marks(list), QList<int>({2, 2, 1}));
    QVERIFY(!list.isSortingEnabled());
    sheet.accept();
    QCOMPARE(SendingOrder(profile), DBKeyList({c, a}));
}

void NotifyProfileSheetsTest::ClickOnTheMarkTogglesIt() {
    StoreNotification("A");
    const int32_t profile = StoreProfile("P", {});
    CNotifyProfileSheet sheet(Context(), DBNotifyProfile{profile, "P", ""});
    sheet.show();
    sheet.Tabs().setCurrentIndex(1);
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    CReportList& list = sheet.NotificationsPage().List().List();
    ClickMark(list, 0);
    QCOMPARE(Marks(list), QList<int>({2}));
    ClickMark(list, 0);
    QCOMPARE(Marks(list), QList<int>({1}));
}

void NotifyProfileSheetsTest::UnmarkingRemovesFromThisProfileOnly() {
    const int32_t a = StoreNotification("A"), b = StoreNotification("B");
    const int32_t first = StoreProfile("Erstes", {a, b});
    const int32_t second = StoreProfile("Zweites", {a});
    CNotifyProfileSheet sheet(Context(), DBNotifyProfile{first, "Erstes", ""});
    CNamedEntryModel& model = sheet.NotificationsPage().Model();
    QVERIFY(model.setData(model.index(model.RowOfId(a), 0), Qt::Unchecked, Qt::CheckStateRole));
    sheet.accept();
    QCOMPARE(SendingOrder(first), DBKeyList({b}));
    QCOMPARE(SendingOrder(second), DBKeyList({a}));
    DBNotification kept;
    QVERIFY(m_pDB->GetNotification(a, kept));
}

void NotifyProfileSheetsTest::RemovingANotificationRemovesItFromEveryProfile() {
    const int32_t a = StoreNotification("A"), b = StoreNotification("B");
    const int32_t first = StoreProfile("Erstes", {a, b});
    const int32_t second = StoreProfile("Zweites", {a});
    CNotifyProfileSheet sheet(Context(), DBNotifyProfile{first, "Erstes", ""});
    sheet.show();
    sheet.Tabs().setCurrentIndex(1);
    CEditableList& editable = sheet.NotificationsPage().List();
    Select(editable.List(), "A");
    {
        CBoxAnswerer no(QMessageBox::No);
        QTest::mouseClick(editable.Button(CEditableList::CommandRemove), Qt::LeftButton);
        QCOMPARE(no.Text(), QStringLiteral("Möchten Sie die Benachrichtigung wirklich entfernen?"));
        QCOMPARE(no.Icon(), QMessageBox::Question);
        QCOMPARE(SendingOrder(second), DBKeyList({a}));
    }
    CBoxAnswerer yes(QMessageBox::Yes);
    QTest::mouseClick(editable.Button(CEditableList::CommandRemove), Qt::LeftButton);
    QVERIFY(yes.Answered());
    QCOMPARE(Names(editable.List()), QStringList({"B"}));
    QCOMPARE(Marks(editable.List()), QList<int>({2}));
    DBNotification gone;
    QVERIFY(!m_pDB->GetNotification(a, gone));
    QVERIFY(SendingOrder(second).empty());
    sheet.reject(); // the removal does not wait for OK
    QCOMPARE(SendingOrder(first), DBKeyList({b}));
}

void NotifyProfileSheetsTest::MovingUpChangesTheSendingOrder() {
    const int32_t a = StoreNotification("A"), b = StoreNotification("B");
    StoreNotification("C");
    const int32_t d = StoreNotification("D");
    const int32_t profile = StoreProfile("P", {a, b});
    CNotifyProfileSheet sheet(Context(), DBNotifyProfile{profile, "P", ""});
    sheet.show();
    sheet.Tabs().setCurrentIndex(1);
    CProfileNotificationsPage& page = sheet.NotificationsPage();
    CReportList& list = page.List().List();
    CNamedEntryModel& model = page.Model();
    // Mark D below the unmarked C, then bring it up past C and B.
    QVERIFY(model.setData(model.index(model.RowOfId(d), 0), Qt::Checked, Qt::CheckStateRole));
    Select(list, "D");
    QTest::mouseClick(page.MoveButton(-1), Qt::LeftButton);
    QTest::mouseClick(page.MoveButton(-1), Qt::LeftButton);
    QCOMPARE(Names(list), QStringList({"A", "D", "B", "C"}));
    QCOMPARE(list.CurrentSourceRow(), 1); // the moved row stays selected
    Select(list, "A");
    QTest::mouseClick(page.MoveButton(-1), Qt::LeftButton); // already at the top
    QCOMPARE(Names(list), QStringList({"A", "D", "B", "C"}));
    Select(list, "C");
    QTest::mouseClick(page.MoveButton(+1), Qt::LeftButton); // already at the bottom
    QCOMPARE(Names(list), QStringList({"A", "D", "B", "C"}));
    sheet.accept();
    QCOMPARE(SendingOrder(profile), DBKeyList({a, d, b}));
}

void NotifyProfileSheetsTest::NotificationsAddedAndEditedOnThePageKeepTheMarks() {
    const int32_t a = StoreNotification("A");
    StoreNotification("B");
    const int32_t profile = StoreProfile("P", {});
    CNotifyProfileSheet sheet(Context(), DBNotifyProfile{profile, "P", ""});
    sheet.resize(600, 400);
    sheet.show();
    sheet.Tabs().setCurrentIndex(1);
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    CProfileNotificationsPage& page = sheet.NotificationsPage();
    CReportList& list = page.List().List();
    CNamedEntryModel& model = page.Model();
    QVERIFY(model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole)); // B
    {
        CModalScript<CNotificationSheet> script([](CNotificationSheet& notification) {
            Type(notification.GeneralField("NAME"), QStringLiteral("Neu"));
            notification.accept();
        });
        QTest::mouseClick(page.List().Button(CEditableList::CommandAdd), Qt::LeftButton);
        QVERIFY(script.Played());
    }
    QCOMPARE(Names(list), QStringList({"A", "B", "Neu"}));
    QCOMPARE(Marks(list), QList<int>({1, 2, 1}));
    QCOMPARE(list.CurrentSourceRow(), 2);
    {
        CModalScript<CNotificationSheet> script([](CNotificationSheet& notification) {
            Type(notification.GeneralField("NAME"), QStringLiteral("A2"));
            notification.accept();
        });
        DoubleClick(list, 0);
        QVERIFY(script.Played());
    }
    QCOMPARE(Names(list), QStringList({"A2", "B", "Neu"}));
    QCOMPARE(Marks(list), QList<int>({1, 2, 1}));
    DBNotification renamed;
    QVERIFY(m_pDB->GetNotification(a, renamed));
    QCOMPARE(renamed.NAME, std::string("A2"));
    QVERIFY(SendingOrder(profile).empty()); // the marks wait for OK
}

void NotifyProfileSheetsTest::CancelStoresNothing() {
    const int32_t a = StoreNotification("A"), b = StoreNotification("B");
    const int32_t profile = StoreProfile("P", {a});
    CNotifyProfileSheet sheet(Context(), DBNotifyProfile{profile, "P", ""});
    sheet.show();
    Type(sheet.findChild<QWidget*>("NAME"), QStringLiteral("anders"));
    CNamedEntryModel& model = sheet.NotificationsPage().Model();
    QVERIFY(model.setData(model.index(model.RowOfId(b), 0), Qt::Checked, Qt::CheckStateRole));
    QVERIFY(model.MoveRow(model.RowOfId(b), -1));
    QTest::mouseClick(sheet.Buttons().button(QDialogButtonBox::Cancel), Qt::LeftButton);
    QCOMPARE(sheet.result(), int(QDialog::Rejected));
    QCOMPARE(ProfileName(profile), std::string("P"));
    QCOMPARE(SendingOrder(profile), DBKeyList({a}));
}

QTEST_MAIN(NotifyProfileSheetsTest)
#include "NotifyProfileSheetsTest.moc"
