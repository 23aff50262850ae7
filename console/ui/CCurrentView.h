// The right pane of the main window: a picture until a view is shown, then
// one of its three pages (1 empty, 2 the event view, 3 the problem view),
// which always fills the pane.
#pragma once

#include <QWidget>

class QLabel;

class CCurrentView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kEmptyPage = 1;
    static constexpr int kEventPage = 2;
    static constexpr int kProblemPage = 3;

    // The pages become children of the view and stay hidden until shown.
    CCurrentView(QWidget* eventView, QWidget* problemView, QWidget* parent = nullptr);

    // Shows page id (1 to 3) and returns true; any other id returns false and
    // changes nothing. Showing the page already shown only lays it out again.
    bool ShowView(int id);
    int CurrentViewId() const { return m_nCurrent; } // 0 while the picture shows
    QWidget* CurrentPage() const;
    QLabel* Picture() const { return m_pPicture; }

signals:
    void viewShown(int id);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Layout();

    QLabel* m_pPicture;
    QWidget* m_pages[3];
    int m_nCurrent = 0;
};
