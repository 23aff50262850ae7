// The binder of configuration fields on its own, over the service settings'
// field table: every kind of field goes from record to editor and back
// unchanged, number arrows stay in the range while a typed number outside it
// is refused with the rules' message, typed text is cut in characters while a
// loaded text is kept whole and refused, and a refusal names its editor.
#include "CFieldBinder.h"
#include "CServiceRules.h"

#include <QCheckBox>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtTest>

class FieldBinderTest : public QObject {
    Q_OBJECT
private slots:
    void EveryFieldComesBackAsItWasLoaded();
    void NumberArrowsStayInTheRangeAndTypedNumbersAreChecked();
    void TypedTextIsCutInCharactersALoadedTextIsRefused();
    void APageCheckLooksAtThatPageAndErrorsFindTheirEditor();
};

namespace {

const QString kRangeOneToThree = QStringLiteral("Geben Sie eine ganze Zahl zwischen 1 und 3 ein.");
const QString kAtMostFifty = QStringLiteral("Geben Sie nicht mehr als 50 Zeichen ein.");

// A record with every number at one end of its range and every text its
// column's name with an umlaut; other is the same with the opposite ends.
DBNotifySrvConfig Filled(bool other) {
    DBNotifySrvConfig record;
    bool low = other;
    for (const ConfigField<DBNotifySrvConfig>& field : CServiceRules::Fields()) {
        if (field.spec.kind == FieldKind::Text)
            field.put(record, std::string(other ? "-" : field.spec.column) + "ä");
        else
            field.put(record, int64_t{low ? field.spec.minimum : field.spec.maximum});
        low = !low;
    }
    return record;
}

} // namespace

void FieldBinderTest::EveryFieldComesBackAsItWasLoaded() {
    CFieldBinder<DBNotifySrvConfig> fields(CServiceRules::Fields());
    QWidget page;
    auto* layout = new QVBoxLayout(&page);
    for (const ConfigField<DBNotifySrvConfig>& field : CServiceRules::Fields())
        layout->addWidget(fields.Add(field.spec.column));
    const DBNotifySrvConfig loaded = Filled(false);
    fields.Load(loaded);
    DBNotifySrvConfig stored = Filled(true);
    fields.Store(stored);
    for (const ConfigField<DBNotifySrvConfig>& field : CServiceRules::Fields())
        QCOMPARE(FieldValueText(field.get(stored)), FieldValueText(field.get(loaded)));
    QVERIFY(!fields.Check().Refused());
}

void FieldBinderTest::NumberArrowsStayInTheRangeAndTypedNumbersAreChecked() {
    CFieldBinder<DBNotifySrvConfig> fields(CServiceRules::Fields());
    std::unique_ptr<QWidget> editor(fields.Add("SMS_RETRIES"));
    auto* number = qobject_cast<QSpinBox*>(editor.get());
    QVERIFY(number);
    number->show();
    QCOMPARE(number->objectName(), QStringLiteral("SMS_RETRIES"));
    number->setValue(2);
    number->stepBy(5);
    QCOMPARE(number->value(), 3);
    number->stepBy(-9);
    QCOMPARE(number->value(), 1);

    QTest::keyClicks(number, QStringLiteral("\b7"));
    QCOMPARE(number->text(), QStringLiteral("7"));
    const FieldRefusal refusal = fields.Check();
    QCOMPARE(refusal.message, kRangeOneToThree);
    QCOMPARE(refusal.widget, editor.get());
}

void FieldBinderTest::TypedTextIsCutInCharactersALoadedTextIsRefused() {
    CFieldBinder<DBNotifySrvConfig> fields(CServiceRules::Fields());
    std::unique_ptr<QWidget> editor(fields.Add("SMS_DIAL_PREFIX"));
    auto* text = qobject_cast<QLineEdit*>(editor.get());
    QVERIFY(text);
    text->show();
    for (int i = 0; i < 60; ++i)
        QTest::sendKeyEvent(QTest::Click, text, Qt::Key_unknown, QString(QChar(0xE4)),
                            Qt::NoModifier);
    QCOMPARE(text->text(), QString(50, QChar(0xE4)));
    QVERIFY(!fields.Check().Refused());

    DBNotifySrvConfig record;
    record.SMS_DIAL_PREFIX = std::string(60, '9');
    fields.Load(record);
    QCOMPARE(text->text(), QString(60, QLatin1Char('9')));
    QCOMPARE(fields.Check().message, kAtMostFifty);
}

void FieldBinderTest::APageCheckLooksAtThatPageAndErrorsFindTheirEditor() {
    CFieldBinder<DBNotifySrvConfig> fields(CServiceRules::Fields());
    QWidget sheet;
    auto* sms = new QWidget(&sheet);
    auto* fax = new QWidget(&sheet);
    (new QVBoxLayout(sms))->addWidget(fields.Add("SMS_RETRIES"));
    (new QVBoxLayout(fax))->addWidget(fields.Add("FAX_RETRIES"));
    DBNotifySrvConfig record;
    record.SMS_RETRIES = 2;
    record.FAX_RETRIES = 9;
    fields.Load(record);
    QVERIFY(!fields.Check(sms).Refused());
    QCOMPARE(fields.Check(fax).widget, fields.Editor("FAX_RETRIES"));
    QCOMPARE(fields.Check().widget, fields.Editor("FAX_RETRIES"));

    const ConfigErrors errors{{"SMTP_SENDER", "not bound here"}, {"SMS_RETRIES", "refused"}};
    const FieldRefusal refusal = fields.RefusalOf(errors);
    QCOMPARE(refusal.message, QStringLiteral("refused"));
    QCOMPARE(refusal.widget, fields.Editor("SMS_RETRIES"));
    QVERIFY(!fields.RefusalOf({{"SMTP_SENDER", "not bound here"}}).Refused());
}

QTEST_MAIN(FieldBinderTest)
#include "FieldBinderTest.moc"
