// String ids of the notification, notify profile and profile list sheets.
// Texts of several parts are read with UiTextPart.
#pragma once

#include "TARNTool.h" // the captions 1100 to 1102

constexpr unsigned IDS_SHEET_NOTIFY_PROFILES = 3002; // "Benachrichtigungsprofile"
constexpr unsigned IDS_SHEET_NOTIFY_PROFILE = 3003;  // "Benachrichtigungsprofileigenschaften"
constexpr unsigned IDS_SHEET_NOTIFICATION = 3004;    // "Benachrichtigungseigenschaften"
constexpr unsigned IDS_COLUMN_NAME = 3012;           // "Name"
constexpr unsigned IDS_COLUMN_DESCRIPTION = 3013;    // "Beschreibung"
constexpr unsigned IDS_ASK_REMOVE_PROFILE = 4000; // "Möchten Sie das Profil wirklich entfernen?"
constexpr unsigned IDS_ASK_REMOVE_NOTIFICATION =
    4001;                                        // "... die Benachrichtigung wirklich entfernen?"
constexpr unsigned IDS_MAIL_LOGON_FAILED = 1004; // "Das Anmelden im MAIL System ist ..."
constexpr unsigned IDS_MAIL_LIBRARY_MISSING = 1027; // "Die Benachrichtigungskomponente ..."
constexpr unsigned IDS_BUTTON_OK = 7516;
constexpr unsigned IDS_BUTTON_CANCEL = 7519;

constexpr unsigned IDS_PAGE_GENERAL = 7590;        // "Allgemein"
constexpr unsigned IDS_PAGE_NOTIFICATIONS = 7591;  // "Benachrichtigungen"
constexpr unsigned IDS_LIST_COMMANDS = 7592;       // add | edit | remove
constexpr unsigned IDS_MOVE_COMMANDS = 7593;       // up | down
constexpr unsigned IDS_PROFILE_LABELS = 7594;      // name | description
constexpr unsigned IDS_NOTIFICATION_LABELS = 7595; // name | description | services used
constexpr unsigned IDS_CHANNEL_WINDOW = 7596;      // "Aktiv von" | "bis" | "Uhr" | "&Test"
constexpr unsigned IDS_SMS_LABELS = 7597;
constexpr unsigned IDS_MAIL_LABELS = 7598; // MS-Mail and Internet-Mail
constexpr unsigned IDS_FAX_LABELS = 7599;
constexpr unsigned IDS_PRINTER_LABELS = 7600;
constexpr unsigned IDS_SNMP_LABELS = 7601;
constexpr unsigned IDS_PRINTER_SELECTION = 7602; // "Druckerauswahl"
constexpr unsigned IDS_NO_PRINTER = 7603; // "Auf diesem Computer ist kein Drucker eingerichtet."
