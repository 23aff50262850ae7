// "&Durchsuchen..." of the MS-Mail page: logs on to the mail library with the
// stored log-on profile and password, shows its address book ("Empfänger-
// auswahl") with the current recipients and hands back the names chosen.
// A library that is missing gives message 1027, a failed log-on 1004.
#pragma once

#include <QString>

#include <string>

class CDBEngineTARN;
class QWidget;

class CMailRecipientSelection {
public:
    CMailRecipientSelection(CDBEngineTARN& database, std::string libraryPath);

    // True when names were chosen; recipients then holds them, ";"-separated.
    bool Select(QWidget* parent, QString& recipients) const;

private:
    CDBEngineTARN& m_database;
    std::string m_strLibraryPath;
};
