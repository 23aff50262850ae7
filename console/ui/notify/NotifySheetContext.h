// What the notification sheets work with: the configuration database, the
// application title (caption of their questions), the mail library for the
// recipient selection and the engine's test notifications.
#pragma once

#include <QString>

#include <string>

class CDBEngineTARN;
class CTestNotifications;

struct NotifySheetContext {
    CDBEngineTARN& database;
    QString applicationTitle;
    std::string mailLibraryPath;         // normally CMailLibrary::DefaultPath()
    CTestNotifications* tests = nullptr; // null: the "&Test" buttons are disabled
};
