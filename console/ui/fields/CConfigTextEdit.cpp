#include "CConfigTextEdit.h"

#include "TextEncoding.h"

CConfigTextEdit::CConfigTextEdit(int limit, QWidget* parent) : QLineEdit(parent), m_nLimit(limit) {
    connect(this, &QLineEdit::textEdited, this, &CConfigTextEdit::CutAtLimit);
}

// Only the operator's own input is cut: setText keeps a stored text as it is.
void CConfigTextEdit::CutAtLimit() {
    if (m_nLimit <= 0)
        return;
    const std::string text = this->text().toStdString();
    const std::string cut = CutToCharacters(text, static_cast<size_t>(m_nLimit));
    if (cut.size() == text.size())
        return;
    const int cursor = cursorPosition();
    setText(QString::fromStdString(cut));
    setCursorPosition(std::min(cursor, static_cast<int>(this->text().size())));
}
