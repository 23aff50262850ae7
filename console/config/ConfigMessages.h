// String ids of the configuration editors' messages.
#pragma once

// Existing messages of the sheets.
constexpr unsigned IDS_PROFILE_NAME_REQUIRED = 1013; // "Sie müssen dem Benachrichtigungsprofil ..."
constexpr unsigned IDS_NOTIFICATION_NAME_REQUIRED = 1014; // "Sie müssen der Benachrichtigung ..."
constexpr unsigned IDS_DIRECTORY_MISSING = 1018;          // "Das Verzeichnis existiert nicht. ..."
constexpr unsigned IDS_PLUGIN_NOT_INSTALLED =
    1034; // "Das zugehörige Plug-In ist nicht mehr installiert. ..."

// The field checks (the texts of the framework's standard checks).
constexpr unsigned IDS_FIELD_RANGE = 7300;   // "Geben Sie eine ganze Zahl zwischen %d und %d ein."
constexpr unsigned IDS_FIELD_LENGTH = 7301;  // "Geben Sie nicht mehr als %d Zeichen ein."
constexpr unsigned IDS_FIELD_NUMBER = 7302;  // "Geben Sie eine ganze Zahl ein."
constexpr unsigned IDS_FIELD_FLAG = 7303;    // "Geben Sie 0 oder 1 ein."
constexpr unsigned IDS_FIELD_UNKNOWN = 7304; // "Unbekanntes Feld: %s"
constexpr unsigned IDS_ACTION_NOT_APPLICABLE =
    7305; // "Diese Aktion ist für die Art der Überwachung nicht möglich."
constexpr unsigned IDS_AUDITION_TYPE_UNKNOWN = 7306; // "Unbekannte Art der Überwachung: %s"
constexpr unsigned IDS_FIELD_TEXT = 7307;            // "Geben Sie einen Text ein."
constexpr unsigned IDS_DOCUMENT_MISSING = 7308;      // "Dieser Eintrag fehlt."
constexpr unsigned IDS_DOCUMENT_OBJECT = 7309;       // "Hier wird ein Objekt erwartet."
constexpr unsigned IDS_DOCUMENT_ARRAY = 7310;        // "Hier wird eine Liste erwartet."
constexpr unsigned IDS_DOCUMENT_UNKNOWN_ID = 7311;   // "Die Nummer %s kommt nicht vor."
constexpr unsigned IDS_DOCUMENT_SYNTAX = 7312;       // "Das Dokument ist kein gültiges JSON: %s"
constexpr unsigned IDS_DOCUMENT_DUPLICATE_ID = 7313; // "Die Nummer %s kommt doppelt vor."
