// "&Durchsuchen..." of the MS-Mail page: logs on to the mail library with the
// stored log-on profile and password, shows its address book ("Empfänger-
// auswahl") with the current recipients and hands back the names chosen.
// A library that is missing gives message 1027, a failed log-on 1004.
//
// The log-on can wait for the mail system (it first hands over what waits in
// the outbox), so it runs off the user-interface thread behind a busy
// indicator; the address book itself is a dialog of this thread.
#pragma once

#include <QString>

#include <functional>
#include <string>

class CDBEngineTARN;
class QWidget;

class CMailRecipientSelection {
public:
    CMailRecipientSelection(CDBEngineTARN& database, std::string libraryPath);

    // Starts the selection over page and returns at once. chosen is called
    // with the names, ";"-separated, when the operator picked some; not when
    // the selection failed, was cancelled or the page has gone.
    void Select(QWidget* page, const QString& recipients,
                std::function<void(const QString&)> chosen) const;

private:
    CDBEngineTARN& m_database;
    std::string m_strLibraryPath;
};
