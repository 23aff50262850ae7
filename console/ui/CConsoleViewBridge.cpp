#include "CConsoleViewBridge.h"

#include "UiText.h"

#include <ctime>

CConsoleViewBridge::CConsoleViewBridge(QObject* parent) : QObject(parent) {
    qRegisterMetaType<DBHProblem>();
    qRegisterMetaType<DBHEvent>();
}

void CConsoleViewBridge::AddEventViewLine(int kind, const std::string& computer,
                                          const std::string& audition, const std::string& text) {
    emit eventLine(kind, static_cast<qint64>(std::time(nullptr)), ToQString(computer),
                   ToQString(audition), ToQString(text));
}

void CConsoleViewBridge::OnProblemAdded(const DBHProblem& problem) {
    emit problemAdded(problem);
}

void CConsoleViewBridge::OnProblemChanged(const DBHProblem& problem) {
    emit problemChanged(problem);
}

void CConsoleViewBridge::OnProblemEventAdded(const DBHEvent& event) {
    emit problemEventAdded(event);
}

void CConsoleViewBridge::ShowMessage(const std::string& text) {
    emit message(ToQString(text));
}
