// The selection tree, the current view's pages and the progress window.
#include "CCurrentView.h"
#include "CProgressDialog.h"
#include "CSelectionTreeView.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QtTest>

#include <map>

class TreeAndPagesTest : public QObject {
    Q_OBJECT
private slots:
    void BuildsTheShippedTreeWithExpandedGroups();
    void EmptySlotBetweenTwoChildrenDoesNotEndTheChildLevel();
    void SelectingAnEntrySwitchesThePaneAndAGroupNodeDoesNothing();
    void DoubleClickAndEnterAskForTheCommand();
    void ShowViewAcceptsOnlyPagesOneToThree();
    void PictureIsCentredWhileNoPageIsShown();
    void ProgressPercentage_data();
    void ProgressPercentage();
    void ProgressStepAdvancesTheBarAndTheText();
};

namespace {

std::vector<QStandardItem*> BuildFrom(QStandardItemModel& model,
                                      const std::map<unsigned, std::string>& entries) {
    std::vector<QStandardItem*> expanded;
    CSelectionTreeView::BuildModel(
        model,
        [&](unsigned id) {
            auto found = entries.find(id);
            return found == entries.end() ? std::string("-1;0;0;") : found->second;
        },
        expanded);
    return expanded;
}

QStringList Children(const QStandardItem* item) {
    QStringList texts;
    for (int row = 0; row < item->rowCount(); ++row)
        texts << item->child(row)->text();
    return texts;
}

} // namespace

void TreeAndPagesTest::BuildsTheShippedTreeWithExpandedGroups() {
    CSelectionTreeView tree;
    auto* model = qobject_cast<QStandardItemModel*>(tree.model());
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(Children(model->invisibleRootItem()),
             QStringList({"Grundeinstellungen", "Konfiguration", "Anzeige"}));
    QCOMPARE(Children(model->item(0)),
             QStringList({"Allgemein", "Benachrichtigungsdienste", "Plug-Ins"}));
    QCOMPARE(Children(model->item(1)), QStringList({"Benachrichtigungsprofile", "Überwachungen"}));
    QCOMPARE(Children(model->item(2)), QStringList({"Ereignisanzeige", "Problemanzeige"}));
    QCOMPARE(model->item(2)->child(1)->data(CSelectionTreeView::kIdRole).toInt(), 3);
    QCOMPARE(model->item(2)->child(1)->data(CSelectionTreeView::kImageRole).toInt(), 12);
    QCOMPARE(model->item(0)->child(0)->data(CSelectionTreeView::kIdRole).toInt(), 102);
    QCOMPARE(model->item(1)->data(CSelectionTreeView::kIdRole).toInt(), 0);
    for (int row = 0; row < 3; ++row)
        QVERIFY(tree.isExpanded(model->index(row, 0)));
}

void TreeAndPagesTest::EmptySlotBetweenTwoChildrenDoesNotEndTheChildLevel() {
    QStandardItemModel model;
    const auto expanded = BuildFrom(model, {{2001, "0;0;1;Eins"},
                                            {2002, "1;7;2;Kind A"},
                                            {2003, "-1;0;0;"},
                                            {2004, "1;8;3;Kind B"},
                                            {2005, "0;0;1;Zwei"},
                                            {2006, "1;9;4;Kind C;mit Semikolon"}});
    QCOMPARE(Children(model.invisibleRootItem()), QStringList({"Eins", "Zwei"}));
    QCOMPARE(Children(model.item(0)), QStringList({"Kind A", "Kind B"}));
    QCOMPARE(Children(model.item(1)), QStringList({"Kind C;mit Semikolon"}));
    QCOMPARE(model.item(0)->child(1)->data(CSelectionTreeView::kIdRole).toInt(), 8);
    QCOMPARE(expanded.size(), size_t(2));
}

void TreeAndPagesTest::SelectingAnEntrySwitchesThePaneAndAGroupNodeDoesNothing() {
    CSelectionTreeView tree;
    auto* events = new QWidget; // the pane owns its pages
    auto* problems = new QWidget;
    CCurrentView pane(events, problems);
    connect(&tree, &CSelectionTreeView::viewRequested, &pane, &CCurrentView::ShowView);
    QSignalSpy requests(&tree, &CSelectionTreeView::viewRequested);
    auto* model = qobject_cast<QStandardItemModel*>(tree.model());

    tree.setCurrentIndex(model->item(2)->child(0)->index()); // "Ereignisanzeige"
    QCOMPARE(pane.CurrentViewId(), 2);
    QCOMPARE(pane.CurrentPage(), events);
    tree.setCurrentIndex(model->item(2)->index()); // the group "Anzeige", id 0
    QCOMPARE(pane.CurrentViewId(), 2);
    QCOMPARE(requests.count(), 1);
    tree.SelectId(3);
    QCOMPARE(pane.CurrentPage(), problems);
    QCOMPARE(requests.last().at(0).toInt(), 3);
}

void TreeAndPagesTest::DoubleClickAndEnterAskForTheCommand() {
    CSelectionTreeView tree;
    tree.resize(250, 300);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    QSignalSpy commands(&tree, &CSelectionTreeView::commandRequested);
    auto* model = qobject_cast<QStandardItemModel*>(tree.model());
    const QModelIndex general = model->item(0)->child(0)->index();
    const QPoint centre = tree.visualRect(general).center();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(commands.count(), 1);
    QCOMPARE(commands.takeFirst().at(0).toInt(), 102);
    tree.SelectId(103);
    QTest::keyClick(&tree, Qt::Key_Return);
    QCOMPARE(commands.takeFirst().at(0).toInt(), 103);
    tree.setCurrentIndex(model->item(1)->index()); // a group node asks for nothing
    QTest::keyClick(&tree, Qt::Key_Return);
    QCOMPARE(commands.count(), 0);
}

void TreeAndPagesTest::ShowViewAcceptsOnlyPagesOneToThree() {
    auto* events = new QWidget; // the pane owns its pages
    auto* problems = new QWidget;
    CCurrentView pane(events, problems);
    pane.resize(400, 300);
    pane.show();
    QVERIFY(!pane.ShowView(0));
    QVERIFY(pane.Picture()->isVisible());
    QVERIFY(pane.ShowView(3));
    QVERIFY(!pane.Picture()->isVisible());
    QVERIFY(problems->isVisible());
    QCOMPARE(problems->geometry(), pane.rect());
    QVERIFY(!pane.ShowView(4));
    QCOMPARE(pane.CurrentViewId(), 3);
    QVERIFY(problems->isVisible());
    QVERIFY(pane.ShowView(2));
    QVERIFY(!problems->isVisible());
    QVERIFY(events->isVisible());
    pane.resize(500, 350);
    QCOMPARE(events->geometry(), pane.rect());
}

void TreeAndPagesTest::PictureIsCentredWhileNoPageIsShown() {
    auto* events = new QWidget; // the pane owns its pages
    auto* problems = new QWidget;
    CCurrentView pane(events, problems);
    pane.resize(600, 400);
    pane.show();
    const QSize picture = pane.Picture()->size();
    QCOMPARE(pane.Picture()->pos(),
             QPoint(300 - picture.width() / 2 - 5, 200 - picture.height() / 2 - 5));
    pane.resize(100, 100); // smaller than the picture: it stays inside at the top left
    QCOMPARE(pane.Picture()->pos(), QPoint(0, 0));
}

void TreeAndPagesTest::ProgressPercentage_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::addColumn<QString>("text");
    QTest::newRow("half") << 100 << 0 << 200 << "50%";
    QTest::newRow("full") << 200 << 0 << 200 << "100%";
    QTest::newRow("start") << 0 << 0 << 200 << "0%";
    QTest::newRow("offset range") << 15 << 10 << 20 << "50%";
    QTest::newRow("beyond the end wraps") << 250 << 0 << 200 << "25%";
    QTest::newRow("equal low and high") << 5 << 5 << 5 << "";
}

void TreeAndPagesTest::ProgressPercentage() {
    QFETCH(int, position);
    QFETCH(int, low);
    QFETCH(int, high);
    QFETCH(QString, text);
    QCOMPARE(CProgressDialog::PercentText(position, low, high), text);
    CProgressDialog dialog(QStringLiteral("Konvertierung"), low, high, 1);
    dialog.SetPos(position);
    QCOMPARE(dialog.PercentShown(), text);
}

void TreeAndPagesTest::ProgressStepAdvancesTheBarAndTheText() {
    CProgressDialog dialog(QStringLiteral("Konvertierung"), 0, 4, 1);
    dialog.SetText(QStringLiteral("Konvertierung wird durchgeführt..."));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Konvertierung"));
    dialog.Step();
    dialog.Step();
    QCOMPARE(dialog.Pos(), 2);
    QCOMPARE(dialog.PercentShown(), QStringLiteral("50%"));
    dialog.SetStep(2);
    dialog.Step();
    QCOMPARE(dialog.PercentShown(), QStringLiteral("100%"));
}

QTEST_MAIN(TreeAndPagesTest)
#include "TreeAndPagesTest.moc"
