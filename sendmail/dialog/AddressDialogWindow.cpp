#include "AddressDialogWindow.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kEntryRole = Qt::UserRole;    // book item: index into the book's entries
constexpr int kResolvedRole = Qt::UserRole; // well item: the name resolved

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton* NewButton(const QString& text, const char* objectName, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    return button;
}

} // namespace

CAddressDialogWindow::CAddressDialogWindow(const QString& caption, const CAddressBook& book,
                                           const std::vector<std::string>& initial)
    : m_addressBook(book) {
    setObjectName("LUSendMailAddressDialog");
    setWindowTitle(caption);
    setModal(true);
    BuildLayout();
    FillBook();
    AddInitial(initial);
    resize(620, 420);
}

void CAddressDialogWindow::BuildLayout() {
    m_name = new QLineEdit(this);
    m_name->setObjectName("name");
    auto* nameLabel = new QLabel(QString::fromUtf8("&Name eingeben oder auswählen:"), this);
    nameLabel->setBuddy(m_name);

    m_book = new QTreeWidget(this);
    m_book->setObjectName("book");
    m_book->setHeaderLabels({"Name", "E-Mail-Adresse"});
    m_book->setRootIsDecorated(false);
    m_book->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_book->header()->setSectionResizeMode(0, QHeaderView::Stretch);

    auto* add = NewButton("To", "to", this);
    m_well = new QListWidget(this);
    m_well->setObjectName("well");
    m_well->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* wellLabel = new QLabel(QString::fromUtf8("Nachrichtenempfänger:"), this);
    wellLabel->setBuddy(m_well);
    auto* remove = NewButton("&Entfernen", "remove", this);

    m_status = new QLabel(this);
    m_status->setObjectName("status");
    m_status->setWordWrap(true);
    m_status->setStyleSheet("color: #b00000");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setObjectName("cancel");
    cancel->setText("Abbrechen");

    auto* grid = new QGridLayout;
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(wellLabel, 0, 2);
    grid->addWidget(m_name, 1, 0);
    grid->addWidget(m_book, 2, 0, 2, 1);
    grid->addWidget(add, 2, 1, Qt::AlignTop);
    grid->addWidget(m_well, 1, 2, 2, 1);
    grid->addWidget(remove, 3, 2, Qt::AlignLeft | Qt::AlignTop);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(2, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_status);
    layout->addWidget(buttons);

    m_name->installEventFilter(this);
    m_well->installEventFilter(this);

    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& text) { FindTyped(text); });
    connect(m_book, &QTreeWidget::itemDoubleClicked, this, [this] { AddChosen(); });
    connect(add, &QPushButton::clicked, this, [this] { AddChosen(); });
    connect(remove, &QPushButton::clicked, this, [this] { RemoveSelected(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &CAddressDialogWindow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CAddressDialogWindow::FillBook() {
    const std::vector<Mailbox>& entries = m_addressBook.Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const Mailbox& entry = entries[i];
        const std::string& shown = entry.displayName.empty() ? entry.address : entry.displayName;
        auto* item = new QTreeWidgetItem(m_book, {FromUtf8(shown), FromUtf8(entry.address)});
        item->setData(0, kEntryRole, static_cast<qulonglong>(i));
    }
}

void CAddressDialogWindow::AddInitial(const std::vector<std::string>& initial) {
    for (const std::string& piece : initial) {
        const QString name = FromUtf8(piece).trimmed();
        if (name.isEmpty())
            continue;
        Mailbox resolved;
        if (m_addressBook.Resolve(piece, resolved))
            AddToWell(WellName(resolved), true);
        else
            AddToWell(name.toStdString(), false);
    }
}

void CAddressDialogWindow::FindTyped(const QString& text) {
    m_book->clearSelection();
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return;
    const QList<QTreeWidgetItem*> found = m_book->findItems(typed, Qt::MatchStartsWith, 0);
    if (found.isEmpty())
        return;
    m_book->setCurrentItem(found.first());
    m_book->scrollToItem(found.first());
}

void CAddressDialogWindow::AddChosen() {
    m_status->clear();
    const QList<QTreeWidgetItem*> selected = m_book->selectedItems();
    if (!selected.isEmpty()) {
        for (const QTreeWidgetItem* item : selected) {
            const size_t index = item->data(0, kEntryRole).toULongLong();
            AddToWell(WellName(m_addressBook.Entries()[index]), true);
        }
        m_name->clear();
        return;
    }
    const QString typed = m_name->text().trimmed();
    if (typed.isEmpty())
        return;
    Mailbox resolved;
    if (!m_addressBook.Resolve(typed.toStdString(), resolved)) {
        ShowUnresolved(typed);
        return;
    }
    AddToWell(WellName(resolved), true);
    m_name->clear();
}

void CAddressDialogWindow::RemoveSelected() {
    m_status->clear();
    qDeleteAll(m_well->selectedItems());
}

std::string CAddressDialogWindow::WellName(const Mailbox& entry) const {
    Mailbox again;
    if (!entry.displayName.empty() && m_addressBook.Resolve(entry.displayName, again) &&
        again.displayName == entry.displayName && again.address == entry.address)
        return entry.displayName;
    return entry.address;
}

void CAddressDialogWindow::AddToWell(const std::string& name, bool resolved) {
    const QString text = FromUtf8(name);
    if (resolved && !m_well->findItems(text, Qt::MatchExactly).isEmpty())
        return; // each recipient once
    auto* item = new QListWidgetItem(text, m_well);
    item->setData(kResolvedRole, resolved);
    if (!resolved) {
        item->setForeground(QColor(0xb0, 0, 0));
        item->setToolTip(QString::fromUtf8("Nicht im Adressbuch gefunden"));
    }
}

void CAddressDialogWindow::ShowUnresolved(const QString& name) {
    m_status->setText(
        QString::fromUtf8("„%1“ wurde im Adressbuch nicht oder mehrfach gefunden. Bitte "
                          "wählen Sie den Empfänger aus der Liste oder geben Sie eine "
                          "E-Mail-Adresse ein.")
            .arg(name));
}

std::vector<std::string> CAddressDialogWindow::Chosen() const {
    std::vector<std::string> names;
    for (int row = 0; row < m_well->count(); ++row)
        names.push_back(m_well->item(row)->text().toStdString());
    return names;
}

void CAddressDialogWindow::accept() {
    for (int row = 0; row < m_well->count(); ++row) {
        QListWidgetItem* item = m_well->item(row);
        if (!item->data(kResolvedRole).toBool()) {
            m_well->setCurrentItem(item);
            ShowUnresolved(item->text());
            return;
        }
    }
    QDialog::accept();
}

bool CAddressDialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    // Enter in the name field adds; it must not reach the dialog's default button.
    if (watched == m_name && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        AddChosen();
        return true;
    }
    if (watched == m_well && key->matches(QKeySequence::Delete)) {
        RemoveSelected();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
