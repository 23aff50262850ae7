#include "CAuditionCfgPPLogfile.h"

#include "MessageIds.h"
#include "TARNTool.h"
#include "UiText.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

enum Part { PageTitle, File, BrowseButton, Kind, Existence, Change, Every, Minutes };

QString Text(Part part) {
    return UiTextPart(IDS_AUDITION_LOGFILE_PAGE, part);
}

} // namespace

CAuditionCfgPPLogfile::CAuditionCfgPPLogfile(QWidget* parent)
    : CAuditionPage(AuditionType::Logfile, Text(PageTitle), parent) {
    auto* form = new QFormLayout(this);
    m_pFile = new QLineEdit;
    BindLine("LOGFILE", m_pFile, Text(File));
    auto* browse = new QPushButton(Text(BrowseButton));
    browse->setObjectName(QStringLiteral("Browse"));
    connect(browse, &QPushButton::clicked, this, &CAuditionCfgPPLogfile::Browse);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_pFile);
    fileRow->addWidget(browse);
    form->addRow(Text(File), fileRow);

    auto* kinds = new QButtonGroup(this);
    auto* kindColumn = new QVBoxLayout;
    for (const auto& [id, part] : {std::pair{0, Existence}, std::pair{1, Change}}) {
        auto* radio = new QRadioButton(Text(part));
        kinds->addButton(radio, id);
        kindColumn->addWidget(radio);
    }
    BindChoice("CHECK_TYPE", kinds, Text(Kind));
    form->addRow(Text(Kind), kindColumn);
    AddLine(form, Text(Every), "CHECK_INTERVAL", Text(Minutes));
}

void CAuditionCfgPPLogfile::Browse() {
    const QString path = QFileDialog::getOpenFileName(
        this, UiText(IDS_FILE_SELECTION), m_pFile->text(), FileDialogFilter(IDS_ALL_FILES_FILTER));
    if (!path.isEmpty())
        m_pFile->setText(path);
}
