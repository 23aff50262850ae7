#include "CCurrentView.h"

#include "CTarnIcons.h"

#include <QLabel>

#include <algorithm>

CCurrentView::CCurrentView(QWidget* eventView, QWidget* problemView, QWidget* parent)
    : QWidget(parent),
      m_pPicture(new QLabel(this)), m_pages{new QWidget(this), eventView, problemView} {
    m_pPicture->setPixmap(CTarnIcons::Picture());
    m_pPicture->adjustSize();
    for (QWidget* page : m_pages) {
        page->setParent(this);
        page->hide();
    }
    setMinimumSize(100, 100);
}

QWidget* CCurrentView::CurrentPage() const {
    return m_nCurrent ? m_pages[m_nCurrent - 1] : nullptr;
}

bool CCurrentView::ShowView(int id) {
    if (id < kEmptyPage || id > kProblemPage)
        return false;
    QWidget* shown = CurrentPage();
    QWidget* next = m_pages[id - 1];
    m_nCurrent = id;
    Layout();
    if (shown != next) {
        (shown ? shown : static_cast<QWidget*>(m_pPicture))->hide();
        next->show();
    }
    emit viewShown(id);
    return true;
}

void CCurrentView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout();
}

// A shown page fills the pane; otherwise the picture stays centred, a little
// above and left of the middle, never outside the pane.
void CCurrentView::Layout() {
    if (QWidget* page = CurrentPage()) {
        page->setGeometry(rect());
        return;
    }
    const QSize picture = m_pPicture->size();
    m_pPicture->move(std::max(width() / 2 - picture.width() / 2 - 5, 0),
                     std::max(height() / 2 - picture.height() / 2 - 5, 0));
}
