<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- English texts of the console, by string id (the ids of console/core/strings.de.tsv).
     Built into TARN_C_LNG_09.qm with "lrelease -idbased". The source element holds the
     built-in German text for the translator; every id of the string table has an entry. -->
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name></name>
    <message id="128">
        <source>Vigil

Vigl


Vigil.Document
Vigl Document</source>
        <translation>Vigil

Vigl


Vigil.Document
Vigl Document</translation>
    </message>
    <message id="1000">
        <source>Konfigurationsdatei nicht gefunden.</source>
        <translation>Configuration file not found.</translation>
    </message>
    <message id="1002">
        <source>Historiendatei nicht gefunden.</source>
        <translation>History file not found.</translation>
    </message>
    <message id="1003">
        <source>Die Konfigurationsdatei ist nicht kompatibel mit dieser Version.</source>
        <translation>The configuration file is not compatible with this version.</translation>
    </message>
    <message id="1004">
        <source>Das Anmelden im MAIL System ist fehlgeschlagen. Bitte überprüfen Sie Ihre Einstellungen.
Stellen Sie bitte sicher, daß Sie mit dem Benutzer angemeldet sind, der auch das Anmeldeprofil erzeugt hat</source>
        <translation>Logging on to the MAIL system failed. Please check your settings.
Please make sure that you are logged on as the user who created the logon profile</translation>
    </message>
    <message id="1005">
        <source>Das Absenden der Nachricht konnte nicht durchgeführt werden. Bitte überprüfen Sie die Empfängerliste.</source>
        <translation>The message could not be sent. Please check the list of recipients.</translation>
    </message>
    <message id="1006">
        <source>Das Modem konnte nicht initialisiert werden. Bitte überprüfen Sie, ob das Modem angeschaltet ist.</source>
        <translation>The modem could not be initialised. Please check that the modem is switched on.</translation>
    </message>
    <message id="1007">
        <source>Es konnte keine Verbindung zum SMS Gateway hergestellt werden</source>
        <translation>No connection to the SMS gateway could be made</translation>
    </message>
    <message id="1008">
        <source>Es trat ein Übertragungsfehler auf</source>
        <translation>A transmission error occurred</translation>
    </message>
    <message id="1009">
        <source>Die Historiendatei nicht kompatibel mit dieser Version.</source>
        <translation>The history file is not compatible with this version.</translation>
    </message>
    <message id="1010">
        <source>Es konnte kein Dienst zugeordnet werden</source>
        <translation>No service could be assigned</translation>
    </message>
    <message id="1012">
        <source>Sie haben keine gültige Überwachungsart gewählt</source>
        <translation>You have not chosen a valid kind of audition</translation>
    </message>
    <message id="1013">
        <source>Sie müssen dem Benachrichtigungsprofil erst einen Namen geben</source>
        <translation>You must give the notify profile a name first</translation>
    </message>
    <message id="1014">
        <source>Sie müssen der Benachrichtigung erst einen Namen geben</source>
        <translation>You must give the notification a name first</translation>
    </message>
    <message id="1015">
        <source>Es trat ein Fehler beim Drucken auf. Bitte überprüfen Sie Ihre Einstellungen</source>
        <translation>An error occurred while printing. Please check your settings</translation>
    </message>
    <message id="1016">
        <source>Es trat ein Fehler beim Faxen auf. Bitte überprüfen Sie Ihre Einstellungen</source>
        <translation>An error occurred while faxing. Please check your settings</translation>
    </message>
    <message id="1017">
        <source>Das Anmelden im MAIL System ist fehlgeschlagen.</source>
        <translation>Logging on to the MAIL system failed.</translation>
    </message>
    <message id="1018">
        <source>Das Verzeichnis existiert nicht. Bitte wählen Sie ein gültiges Verzeichnis.</source>
        <translation>The directory does not exist. Please choose a valid directory.</translation>
    </message>
    <message id="1019">
        <source>Es ist ein Problem beim Zugriff auf die Datenbanken aufgetreten.
Wenn Sie die Anwendung im Anschluß sofort beenden, gehen keine Daten verloren.

Bitte teilen Sie dem technischen Support folgende Informationen mit:

Funktion:   "%s"

Beschreibung:
%s</source>
        <translation>A problem occurred while accessing the databases.
If you end the application immediately afterwards, no data will be lost.

Please pass the following information to technical support:

Function:   "%s"

Description:
%s</translation>
    </message>
    <message id="1020">
        <source>Achtung! Der Agent führt diese Überwachung nicht mehr durch. Überwachung wird  deaktiviert.</source>
        <translation>Attention! The agent no longer performs this audition. The audition is deactivated.</translation>
    </message>
    <message id="1021">
        <source>Der Agent hat die Überwachung wieder aufgenommen. Überwachung wurde wieder aktiviert.</source>
        <translation>The agent has resumed the audition. The audition has been activated again.</translation>
    </message>
    <message id="1022">
        <source>Achtung! Der Agent ist nicht mehr aktiv. Überwachungen auf diesem Rechner werden deaktiviert.</source>
        <translation>Attention! The agent is no longer active. Auditions on this computer are deactivated.</translation>
    </message>
    <message id="1023">
        <source>Der Agent wurde wieder gestartet.  Überwachungen auf diesem Rechner wurden wieder aktiviert.</source>
        <translation>The agent has been started again. Auditions on this computer have been activated again.</translation>
    </message>
    <message id="1024">
        <source>Es konnte keine Verbindung zum Mail Server hergestellt werden</source>
        <translation>No connection to the mail server could be made</translation>
    </message>
    <message id="1025">
        <source>Die übergebenen Parameter sind unvollständig oder fehlerhaft</source>
        <translation>The parameters passed are incomplete or wrong</translation>
    </message>
    <message id="1026">
        <source>Der angegebene Empfänger ist unbekannt</source>
        <translation>The recipient given is unknown</translation>
    </message>
    <message id="1027">
        <source>Die Benachrichtigungskomponente konnte nicht gefunden werden.</source>
        <translation>The notification component could not be found.</translation>
    </message>
    <message id="1028">
        <source>Die Gateway Komponente konnte nicht gestartet werden.
TARN! kann nicht ausgeführt werden.</source>
        <translation>The gateway component could not be started.
TARN! cannot run.</translation>
    </message>
    <message id="1029">
        <source>Die Konvertierung ist fehlgeschlagen!

Aktuelle Version:&#9;%d
Benötigte Version:&#9;%d</source>
        <translation>The conversion failed!

Current version:&#9;%d
Required version:&#9;%d</translation>
    </message>
    <message id="1030">
        <source>Die Initialisierung des Plug-Ins &lt;%s&gt; ist fehlgeschlagen.
Das Plug-In konnte nicht gefunden werden oder ist nicht kompatibel mit dieser Version.
Das Plug-In wurde entfernt.</source>
        <translation>The initialisation of the plug-in &lt;%s&gt; failed.
The plug-in could not be found or is not compatible with this version.
The plug-in has been removed.</translation>
    </message>
    <message id="1031">
        <source>Es trat ein Fehler beim Absetzen der SNMP Benachrichtigung auf. Bitte überprüfen Sie Ihre Einstellungen </source>
        <translation>An error occurred while sending the SNMP notification. Please check your settings </translation>
    </message>
    <message id="1032">
        <source>Das gewählte Plug-In ist nicht kompatibel mit dieser Version</source>
        <translation>The chosen plug-in is not compatible with this version</translation>
    </message>
    <message id="1033">
        <source>Das gewählte Plug-In ist schon installiert.
Bitte entfernen Sie erst die vorhandene Version und versuchen Sie es dann erneut</source>
        <translation>The chosen plug-in is already installed.
Please remove the installed version first and then try again</translation>
    </message>
    <message id="1034">
        <source>Das zugehörige Plug-In ist nicht mehr installiert.
Bitte installieren Sie das Plug-In und versuchen Sie es dann erneut.</source>
        <translation>The plug-in belonging to it is no longer installed.
Please install the plug-in and then try again.</translation>
    </message>
    <message id="1035">
        <source>Das Plug-In kann nicht entfernt werden! Es existieren Überwachungen diese Typs.

Bitte entfernen Sie zunächst diese Überwachungen und versuchen Sie es dann erneut.</source>
        <translation>The plug-in cannot be removed! There are auditions of this type.

Please remove these auditions first and then try again.</translation>
    </message>
    <message id="1036">
        <source>Die Überwachung ist nicht richtig konfiguriert.

Bitte machen Sie erst alle notwendigen Angaben bevor Sie fortfahren.</source>
        <translation>The audition is not configured correctly.

Please fill in everything required before you go on.</translation>
    </message>
    <message id="1100">
        <source>TARN! Fehler aufgetreten</source>
        <translation>TARN! Error occurred</translation>
    </message>
    <message id="1101">
        <source>Dateiauswahl</source>
        <translation>File selection</translation>
    </message>
    <message id="1102">
        <source>Empfängerauswahl</source>
        <translation>Recipient selection</translation>
    </message>
    <message id="1103">
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message id="1104">
        <source>Warnung</source>
        <translation>Warning</translation>
    </message>
    <message id="1105">
        <source>Fehler</source>
        <translation>Error</translation>
    </message>
    <message id="1106">
        <source>Logdatei (individuell)</source>
        <translation>Log file (individual)</translation>
    </message>
    <message id="1107">
        <source>Netzwerk</source>
        <translation>Network</translation>
    </message>
    <message id="1108">
        <source>Service</source>
        <translation>Service</translation>
    </message>
    <message id="1109">
        <source>Applikation</source>
        <translation>Application</translation>
    </message>
    <message id="1110">
        <source>NT-Eventlog</source>
        <translation>NT event log</translation>
    </message>
    <message id="1111">
        <source>Ja</source>
        <translation>Yes</translation>
    </message>
    <message id="1112">
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message id="1113">
        <source>Es wurden Fehler signalisiert</source>
        <translation>Errors were signalled</translation>
    </message>
    <message id="1114">
        <source>Überwachung gestartet</source>
        <translation>Audition started</translation>
    </message>
    <message id="1116">
        <source>Überwachungsdatei &lt;%s&gt; nicht vorhanden. Überwachung kann nicht durchgeführt werden.</source>
        <translation>Audition file &lt;%s&gt; does not exist. The audition cannot be performed.</translation>
    </message>
    <message id="1117">
        <source>Überwachung angehalten</source>
        <translation>Audition stopped</translation>
    </message>
    <message id="1118">
        <source>Der Benachrichtigungstest wurde erfolgreich durchgeführt</source>
        <translation>The notification test was performed successfully</translation>
    </message>
    <message id="1119">
        <source>Der Benachrichtigungstest ist fehlgeschlagen.
Bitte überprüfen Sie Ihre Einstellungen</source>
        <translation>The notification test failed.
Please check your settings</translation>
    </message>
    <message id="1120">
        <source>Applikation neu starten</source>
        <translation>Restart application</translation>
    </message>
    <message id="1121">
        <source>Service neu starten</source>
        <translation>Restart service</translation>
    </message>
    <message id="1122">
        <source>System neu starten</source>
        <translation>Restart system</translation>
    </message>
    <message id="1123">
        <source>Aktion &lt;%s&gt; wurde veranlaßt</source>
        <translation>Action &lt;%s&gt; was initiated</translation>
    </message>
    <message id="1124">
        <source>Aktion &lt;%s&gt; wurde erfolgreich durchgeführt</source>
        <translation>Action &lt;%s&gt; was performed successfully</translation>
    </message>
    <message id="1125">
        <source>Aktion &lt;%s&gt; konnte nicht ausgeführt werden. Fehlercode: %s</source>
        <translation>Action &lt;%s&gt; could not be performed. Error code: %s</translation>
    </message>
    <message id="1126">
        <source>Aktion &lt;%s&gt; konnte nicht gestartet werden. Bitte überprüfen Sie  Ihr Datenverzeichnis</source>
        <translation>Action &lt;%s&gt; could not be started. Please check  your data directory</translation>
    </message>
    <message id="1127">
        <source>Offen</source>
        <translation>Open</translation>
    </message>
    <message id="1128">
        <source>ungelöst</source>
        <translation>unresolved</translation>
    </message>
    <message id="1129">
        <source>gelöst</source>
        <translation>resolved</translation>
    </message>
    <message id="1130">
        <source>unbekannt</source>
        <translation>unknown</translation>
    </message>
    <message id="1131">
        <source>Fehlersignal</source>
        <translation>Error signal</translation>
    </message>
    <message id="1132">
        <source>Benachrichtigung</source>
        <translation>Notification</translation>
    </message>
    <message id="1133">
        <source>Aktion</source>
        <translation>Action</translation>
    </message>
    <message id="1135">
        <source>Die TCP/IP Komponente konnte nicht initialisiert werden. Überwachung nicht möglich.</source>
        <translation>The TCP/IP component could not be initialised. Audition not possible.</translation>
    </message>
    <message id="1136">
        <source>Die gewählte Datei ist keine TARN! Plugin Komponente</source>
        <translation>The chosen file is not a TARN! plug-in component</translation>
    </message>
    <message id="1137">
        <source>Die Aktion &lt;%s&gt; wurde vorzeitig beendet, da die Antwortzeit überschritten wurde</source>
        <translation>The action &lt;%s&gt; was ended early because the response time was exceeded</translation>
    </message>
    <message id="1138">
        <source>Problembearbeitung wird gestartet: &lt;%s&gt;</source>
        <translation>Problem handling is starting: &lt;%s&gt;</translation>
    </message>
    <message id="1139">
        <source>Problem gelöst: &lt;%s&gt;</source>
        <translation>Problem resolved: &lt;%s&gt;</translation>
    </message>
    <message id="1140">
        <source>Problem ungelöst abgeschlossen: &lt;%s&gt;</source>
        <translation>Problem closed unresolved: &lt;%s&gt;</translation>
    </message>
    <message id="1141">
        <source>Folgendes TARN! Plug-In wird installiert:

%s
Version: %s
%s

Installation durchführen?</source>
        <translation>The following TARN! plug-in will be installed:

%s
Version: %s
%s

Install it?</translation>
    </message>
    <message id="1142">
        <source>Plug-In</source>
        <translation>Plug-in</translation>
    </message>
    <message id="1143">
        <source>Applikation starten</source>
        <translation>Start application</translation>
    </message>
    <message id="1144">
        <source>Applikation beenden</source>
        <translation>Stop application</translation>
    </message>
    <message id="1145">
        <source>Service starten</source>
        <translation>Start service</translation>
    </message>
    <message id="1146">
        <source>Service beenden</source>
        <translation>Stop service</translation>
    </message>
    <message id="2000">
        <source>Main Tree Start</source>
        <translation>Main Tree Start</translation>
    </message>
    <message id="2001">
        <source>0;0;8;Grundeinstellungen</source>
        <translation>0;0;8;Basic settings</translation>
    </message>
    <message id="2002">
        <source>1;102;10;Allgemein</source>
        <translation>1;102;10;General</translation>
    </message>
    <message id="2003">
        <source>1;101;9;Benachrichtigungsdienste</source>
        <translation>1;101;9;Notification services</translation>
    </message>
    <message id="2004">
        <source>1;104;14;Plug-Ins</source>
        <translation>1;104;14;Plug-ins</translation>
    </message>
    <message id="2005">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2006">
        <source>0;0;1;Konfiguration</source>
        <translation>0;0;1;Configuration</translation>
    </message>
    <message id="2007">
        <source>1;100;6;Benachrichtigungsprofile</source>
        <translation>1;100;6;Notify profiles</translation>
    </message>
    <message id="2008">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2009">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2010">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2011">
        <source>1;103;5;Überwachungen</source>
        <translation>1;103;5;Auditions</translation>
    </message>
    <message id="2012">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2013">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2014">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2015">
        <source>0;0;2;Anzeige</source>
        <translation>0;0;2;Display</translation>
    </message>
    <message id="2016">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2017">
        <source>1;2;4;Ereignisanzeige</source>
        <translation>1;2;4;Event view</translation>
    </message>
    <message id="2018">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2019">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2020">
        <source>1;3;12;Problemanzeige</source>
        <translation>1;3;12;Problem view</translation>
    </message>
    <message id="2021">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2022">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2023">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2024">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2025">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2026">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2027">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2028">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2029">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2030">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2031">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2032">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2033">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2034">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2035">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2036">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2037">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2038">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2039">
        <source>-1;0;0;</source>
        <translation>-1;0;0;</translation>
    </message>
    <message id="2040">
        <source>Main Tree End</source>
        <translation>Main Tree End</translation>
    </message>
    <message id="3000">
        <source>Benachrichtigungsdienste konfigurieren</source>
        <translation>Configure notification services</translation>
    </message>
    <message id="3001">
        <source>Allgemeine Einstellungen</source>
        <translation>General settings</translation>
    </message>
    <message id="3002">
        <source>Benachrichtigungsprofile</source>
        <translation>Notify profiles</translation>
    </message>
    <message id="3003">
        <source>Benachrichtigungsprofileigenschaften</source>
        <translation>Notify profile properties</translation>
    </message>
    <message id="3004">
        <source>Benachrichtigungseigenschaften</source>
        <translation>Notification properties</translation>
    </message>
    <message id="3009">
        <source>Datum/Zeit</source>
        <translation>Date/Time</translation>
    </message>
    <message id="3010">
        <source>Beschreibung</source>
        <translation>Description</translation>
    </message>
    <message id="3011">
        <source>Überwachungen</source>
        <translation>Auditions</translation>
    </message>
    <message id="3012">
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message id="3013">
        <source>Beschreibung</source>
        <translation>Description</translation>
    </message>
    <message id="3014">
        <source>Überwachungseigenschaften</source>
        <translation>Audition properties</translation>
    </message>
    <message id="3017">
        <source>Aktiv</source>
        <translation>Active</translation>
    </message>
    <message id="3018">
        <source>Überwachung</source>
        <translation>Audition</translation>
    </message>
    <message id="3019">
        <source>Computer</source>
        <translation>Computer</translation>
    </message>
    <message id="3020">
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message id="3021">
        <source>Problemstart</source>
        <translation>Problem start</translation>
    </message>
    <message id="3022">
        <source>Problemende</source>
        <translation>Problem end</translation>
    </message>
    <message id="3023">
        <source>Beschreibung</source>
        <translation>Description</translation>
    </message>
    <message id="3024">
        <source>Computer</source>
        <translation>Computer</translation>
    </message>
    <message id="3025">
        <source>Überwachung</source>
        <translation>Audition</translation>
    </message>
    <message id="3026">
        <source>Ereignisse</source>
        <translation>Events</translation>
    </message>
    <message id="3027">
        <source>Datum/Zeit</source>
        <translation>Date/Time</translation>
    </message>
    <message id="3028">
        <source>Beschreibung</source>
        <translation>Description</translation>
    </message>
    <message id="3029">
        <source>Computer</source>
        <translation>Computer</translation>
    </message>
    <message id="4000">
        <source>Möchten Sie das Profil wirklich entfernen?</source>
        <translation>Do you really want to remove the profile?</translation>
    </message>
    <message id="4001">
        <source>Möchten Sie die Benachrichtigung wirklich entfernen?</source>
        <translation>Do you really want to remove the notification?</translation>
    </message>
    <message id="4002">
        <source>Möchten Sie die Überwachung wirklich entfernen?</source>
        <translation>Do you really want to remove the audition?</translation>
    </message>
    <message id="4003">
        <source>Die TARN! Ereignisanzeige wurde erfolgreich gespeichert</source>
        <translation>The TARN! event view was saved successfully</translation>
    </message>
    <message id="4004">
        <source>Die TARN! Ereignisanzeige konnte nicht gespeichert werden</source>
        <translation>The TARN! event view could not be saved</translation>
    </message>
    <message id="4005">
        <source>Möchten Sie wirklich alle Einträge entfernen?</source>
        <translation>Do you really want to remove all entries?</translation>
    </message>
    <message id="4006">
        <source>Die Konfigurationsdatei gehört zu einer älteren TARN! Version
und ist nicht kompatibel zur aktuellen Version.
Sie können sie jedoch automatisch konvertieren lassen.
Danach wird sie allerdings nicht mehr mit der früheren Version kompatibel sein.

Möchten Sie die Konfigurationsdatei jetzt konvertieren?</source>
        <translation>The configuration file belongs to an older TARN! version
and is not compatible with the current version.
You can, however, have it converted automatically.
Afterwards it will no longer be compatible with the earlier version.

Do you want to convert the configuration file now?</translation>
    </message>
    <message id="4007">
        <source>Konvertierung wird durchgeführt...</source>
        <translation>Converting...</translation>
    </message>
    <message id="4008">
        <source>Möchten Sie den Problemeintrag wirklich permanent entfernen?</source>
        <translation>Do you really want to remove the problem entry permanently?</translation>
    </message>
    <message id="4009">
        <source>Möchten Sie das Plug-In wirklich entfernen?</source>
        <translation>Do you really want to remove the plug-in?</translation>
    </message>
    <message id="5000">
        <source>Drucker Benachrichtigung &lt;%s&gt; auf Drucker &lt;%s&gt; durchgeführt</source>
        <translation>Printer notification &lt;%s&gt; on printer &lt;%s&gt; performed</translation>
    </message>
    <message id="5001">
        <source>Benachrichtigungdruck an Druckerspooler übertragen</source>
        <translation>Notification print passed to the print spooler</translation>
    </message>
    <message id="5004">
        <source>MS-Mail Benachrichtigung &lt;%s&gt; an &lt;%s&gt; durchgeführt.</source>
        <translation>MS-Mail notification &lt;%s&gt; to &lt;%s&gt; performed.</translation>
    </message>
    <message id="5005">
        <source>Internet-Mail Benachrichtigung &lt;%s&gt; an &lt;%s&gt; durchgeführt.</source>
        <translation>Internet mail notification &lt;%s&gt; to &lt;%s&gt; performed.</translation>
    </message>
    <message id="5006">
        <source>SNMP Benachrichtigung &lt;%s&gt; &lt;Trap ID: %lu&gt; durchgeführt.</source>
        <translation>SNMP notification &lt;%s&gt; &lt;Trap ID: %lu&gt; performed.</translation>
    </message>
    <message id="5007">
        <source>SMS Benachrichtigung &lt;%s&gt; an &lt;%s&gt; durchgeführt.</source>
        <translation>SMS notification &lt;%s&gt; to &lt;%s&gt; performed.</translation>
    </message>
    <message id="5008">
        <source>SMS Nachricht erfolgreich abgeschickt.</source>
        <translation>SMS message sent successfully.</translation>
    </message>
    <message id="5009">
        <source>Fax Benachrichtigung &lt;%s&gt; an &lt;%s&gt; durchgeführt.</source>
        <translation>Fax notification &lt;%s&gt; to &lt;%s&gt; performed.</translation>
    </message>
    <message id="5010">
        <source>Trap wurde erfolgreich abgeschickt.</source>
        <translation>Trap was sent successfully.</translation>
    </message>
    <message id="5012">
        <source>Benachrichtigungsfax an Faxserver übertragen</source>
        <translation>Notification fax passed to the fax server</translation>
    </message>
    <message id="5013">
        <source>Ergebnis:</source>
        <translation>Result:</translation>
    </message>
    <message id="5014">
        <source>Die Nachricht(en) wurde(n) erfolgreich abgeschickt.</source>
        <translation>The message(s) was (were) sent successfully.</translation>
    </message>
    <message id="5015">
        <source>Die Nachricht wurde erfolgreich abgeschickt.</source>
        <translation>The message was sent successfully.</translation>
    </message>
    <message id="5100">
        <source>TARN! Benachrichtigung</source>
        <translation>TARN! Notification</translation>
    </message>
    <message id="5101">
        <source>Datum/Zeit:</source>
        <translation>Date/Time:</translation>
    </message>
    <message id="5102">
        <source>Quelle:</source>
        <translation>Source:</translation>
    </message>
    <message id="5103">
        <source>Ereignis:</source>
        <translation>Event:</translation>
    </message>
    <message id="5104">
        <source>Computer:</source>
        <translation>Computer:</translation>
    </message>
    <message id="5105">
        <source>Beschreibung:</source>
        <translation>Description:</translation>
    </message>
    <message id="5106">
        <source>Kategorie:</source>
        <translation>Category:</translation>
    </message>
    <message id="5107">
        <source>Die Logdatei &lt;%s&gt; signalisierte einen Fehler.</source>
        <translation>The log file &lt;%s&gt; signalled an error.</translation>
    </message>
    <message id="5108">
        <source>Der Rechner &lt;%s&gt; reagiert nicht mehr (Fehlercode: %d).</source>
        <translation>The computer &lt;%s&gt; no longer responds (error code: %d).</translation>
    </message>
    <message id="5109">
        <source>TARN! Benachrichtigungstest</source>
        <translation>TARN! Notification test</translation>
    </message>
    <message id="5110">
        <source>Status:</source>
        <translation>Status:</translation>
    </message>
    <message id="5111">
        <source>Das Problem trat zum ersten Mal auf.</source>
        <translation>The problem occurred for the first time.</translation>
    </message>
    <message id="5113">
        <source>Das Problem konnte behoben werden.</source>
        <translation>The problem could be resolved.</translation>
    </message>
    <message id="5114">
        <source>Das Problem konnte nicht behoben werden.</source>
        <translation>The problem could not be resolved.</translation>
    </message>
    <message id="6000">
        <source>Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*||</source>
        <translation>Text files (*.txt)|*.txt|All files (*.*)|*.*||</translation>
    </message>
    <message id="6001">
        <source>Alle Dateien (*.*)|*.*||</source>
        <translation>All files (*.*)|*.*||</translation>
    </message>
    <message id="6002">
        <source>Plug-In Dateien (*.spi)|*.spi||</source>
        <translation>Plug-in files (*.spi)|*.spi||</translation>
    </message>
    <message id="7000">
        <source>Der Rechnername ist als Verzeichnisname im Datenverzeichnis nicht zulässig. Die Überwachung wird nicht durchgeführt.</source>
        <translation>The computer name is not allowed as a directory name in the data directory. The audition is not performed.</translation>
    </message>
    <message id="7001">
        <source>TARN! wurde gestartet.</source>
        <translation>TARN! has started.</translation>
    </message>
    <message id="7002">
        <source>TARN! wurde beendet.</source>
        <translation>TARN! has stopped.</translation>
    </message>
    <message id="7003">
        <source>Die Zeile %s der Agenten-Logdatei &lt;%s&gt; hat kein Datum, kann nicht als übernommen markiert werden und wird übergangen.</source>
        <translation>Line %s of the agent log file &lt;%s&gt; has no date, cannot be marked as taken over and is skipped.</translation>
    </message>
    <message id="7004">
        <source>Die Datei &lt;%s&gt; im Datenverzeichnis wird nicht gelesen: %s.</source>
        <translation>The file &lt;%s&gt; in the data directory is not read: %s.</translation>
    </message>
    <message id="7005">
        <source>Das Fehlersignal konnte nicht gespeichert werden. Eine Zeile der Agenten-Logdatei bleibt unmarkiert und wird beim nächsten Durchlauf erneut übernommen.</source>
        <translation>The error signal could not be stored. A line of the agent log file stays unmarked and is taken again in the next pass.</translation>
    </message>
    <message id="7006">
        <source>Das Laufzeitverzeichnis &lt;%s&gt; ist nicht sicher: %s. Es muss ein Verzeichnis dieses Benutzers ohne Zugriff für andere sein (Modus 0700). TARN! wird nicht gestartet.</source>
        <translation>The runtime directory &lt;%s&gt; is not safe: %s. It must be a directory of this user without access for others (mode 0700). TARN! is not started.</translation>
    </message>
    <message id="7007">
        <source>TARN! läuft bereits für das Installationsverzeichnis &lt;%s&gt; (Prozess %s). Ein zweiter TARN! wird nicht gestartet.</source>
        <translation>TARN! is already running for the installation directory &lt;%s&gt; (process %s). A second TARN! is not started.</translation>
    </message>
    <message id="7008">
        <source>Die Sperrdatei &lt;%s&gt; kann nicht angelegt werden. TARN! wird nicht gestartet.</source>
        <translation>The lock file &lt;%s&gt; cannot be created. TARN! is not started.</translation>
    </message>
    <message id="7100">
        <source>Das Plug-In &lt;%s&gt; konnte nicht in den Ordner &lt;%s&gt; kopiert werden:
%s</source>
        <translation>The plug-in &lt;%s&gt; could not be copied into the folder &lt;%s&gt;:
%s</translation>
    </message>
    <message id="7300">
        <source>Geben Sie eine ganze Zahl zwischen %d und %d ein.</source>
        <translation>Enter an integer between %d and %d.</translation>
    </message>
    <message id="7301">
        <source>Geben Sie nicht mehr als %d Zeichen ein.</source>
        <translation>Enter no more than %d characters.</translation>
    </message>
    <message id="7302">
        <source>Geben Sie eine ganze Zahl ein.</source>
        <translation>Enter an integer.</translation>
    </message>
    <message id="7303">
        <source>Geben Sie 0 oder 1 ein.</source>
        <translation>Enter 0 or 1.</translation>
    </message>
    <message id="7304">
        <source>Unbekanntes Feld: %s</source>
        <translation>Unknown field: %s</translation>
    </message>
    <message id="7305">
        <source>Diese Aktion ist für die Art der Überwachung nicht möglich.</source>
        <translation>This action is not possible for this kind of audition.</translation>
    </message>
    <message id="7306">
        <source>Unbekannte Art der Überwachung: %s</source>
        <translation>Unknown kind of audition: %s</translation>
    </message>
    <message id="7307">
        <source>Geben Sie einen Text ein.</source>
        <translation>Enter a text.</translation>
    </message>
    <message id="7700">
        <source>Datei: %s
Legen Sie mit "tarn-admin init %s" eine neue Installation an oder setzen Sie TARN_HOME auf das Verzeichnis der Installation.</source>
        <translation>File: %s
Create a new installation with "tarn-admin init %s" or set TARN_HOME to the directory of the installation.</translation>
    </message>
    <message id="7701">
        <source>Datei: %s
Die Datei ist für dieses Konto nicht lesbar oder beschädigt: prüfen Sie Eigentümer und Rechte (Konto tarn) und führen Sie "tarn-admin check %s" aus.</source>
        <translation>File: %s
This account cannot read the file or it is damaged: check its owner and rights (account tarn) and run "tarn-admin check %s".</translation>
    </message>
    <message id="7702">
        <source>Die Überwachung kann nicht ausgeführt werden: %s</source>
        <translation>The audition cannot run: %s</translation>
    </message>
    <message id="7703">
        <source>unbekannter Überwachungstyp %s</source>
        <translation>unknown audition type %s</translation>
    </message>
    <message id="7704">
        <source>die Angaben ihres Typs fehlen in der Konfigurationsdatei</source>
        <translation>the details of its type are missing from the configuration file</translation>
    </message>
    <message id="7705">
        <source>kein Plug-In des Typs %s ist installiert</source>
        <translation>no plug-in of type %s is installed</translation>
    </message>
    <message id="7308">
        <source>Dieser Eintrag fehlt.</source>
        <translation>This entry is missing.</translation>
    </message>
    <message id="7309">
        <source>Hier wird ein Objekt erwartet.</source>
        <translation>An object is expected here.</translation>
    </message>
    <message id="7310">
        <source>Hier wird eine Liste erwartet.</source>
        <translation>A list is expected here.</translation>
    </message>
    <message id="7311">
        <source>Die Nummer %s kommt nicht vor.</source>
        <translation>The number %s does not occur.</translation>
    </message>
    <message id="7312">
        <source>Das Dokument ist kein gültiges JSON: %s</source>
        <translation>The document is not valid JSON: %s</translation>
    </message>
    <message id="7313">
        <source>Die Nummer %s kommt doppelt vor.</source>
        <translation>The number %s occurs twice.</translation>
    </message>
    <message id="7314">
        <source>Die Konfiguration wurde neu geladen.</source>
        <translation>The configuration has been reloaded.</translation>
    </message>
    <message id="7500">
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message id="7501">
        <source>&amp;Ansicht</source>
        <translation>&amp;View</translation>
    </message>
    <message id="7502">
        <source>&amp;Einstellungen</source>
        <translation>&amp;Settings</translation>
    </message>
    <message id="7503">
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message id="7504">
        <source>&amp;Beenden</source>
        <translation>E&amp;xit</translation>
    </message>
    <message id="7505">
        <source>TARN! beenden
Beenden</source>
        <translation>Quit TARN!
Exit</translation>
    </message>
    <message id="7506">
        <source>&amp;Hilfethemen</source>
        <translation>&amp;Help topics</translation>
    </message>
    <message id="7507">
        <source>Die Hilfe zu TARN! öffnen
Hilfe</source>
        <translation>Open the TARN! help
Help</translation>
    </message>
    <message id="7508">
        <source>&amp;Info über TARN!...</source>
        <translation>&amp;About TARN!...</translation>
    </message>
    <message id="7509">
        <source>Programminformationen, Versionsnummer und Copyright anzeigen
Info</source>
        <translation>Show program information, version number and copyright
About</translation>
    </message>
    <message id="7510">
        <source>Bereit</source>
        <translation>Ready</translation>
    </message>
    <message id="7511">
        <source>Filter:</source>
        <translation>Filter:</translation>
    </message>
    <message id="7512">
        <source>Text eingeben, um die Zeilen einzugrenzen</source>
        <translation>Type text to narrow the rows</translation>
    </message>
    <message id="7513">
        <source>Die Seite &lt;%s&gt; gibt es in dieser Version noch nicht.</source>
        <translation>The page &lt;%s&gt; is not available in this version yet.</translation>
    </message>
    <message id="7514">
        <source>Info über %s</source>
        <translation>About %s</translation>
    </message>
    <message id="7515">
        <source>Version %s</source>
        <translation>Version %s</translation>
    </message>
    <message id="7516">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="7517">
        <source>&amp;Ja</source>
        <translation>&amp;Yes</translation>
    </message>
    <message id="7518">
        <source>&amp;Nein</source>
        <translation>&amp;No</translation>
    </message>
    <message id="7519">
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message id="7520">
        <source>Problem &amp;löschen</source>
        <translation>&amp;Delete problem</translation>
    </message>
    <message id="7521">
        <source>Den ausgewählten Problemeintrag permanent entfernen
Problem löschen</source>
        <translation>Remove the selected problem entry permanently
Delete problem</translation>
    </message>
    <message id="7522">
        <source>Problemanzeige neu &amp;laden</source>
        <translation>&amp;Reload problem view</translation>
    </message>
    <message id="7523">
        <source>Die Probleme neu aus der Historiendatei lesen
Problemanzeige neu laden</source>
        <translation>Read the problems again from the history file
Reload problem view</translation>
    </message>
    <message id="7524">
        <source>Die Hilfedatei &lt;%s&gt; konnte nicht geöffnet werden.</source>
        <translation>The help file &lt;%s&gt; could not be opened.</translation>
    </message>
    <message id="7525">
        <source>Die Adresse &lt;%s&gt; konnte nicht geöffnet werden.</source>
        <translation>The address &lt;%s&gt; could not be opened.</translation>
    </message>
    <message id="7526">
        <source>TARN! wird beendet...</source>
        <translation>TARN! is stopping...</translation>
    </message>
    <message id="7527">
        <source>Probleme werden geladen...</source>
        <translation>Loading problems...</translation>
    </message>
    <message id="7528">
        <source>Ereignisanzeige</source>
        <translation>Event view</translation>
    </message>
    <message id="7529">
        <source>Problemanzeige</source>
        <translation>Problem view</translation>
    </message>
    <message id="7530">
        <source>Symbolleiste</source>
        <translation>Toolbar</translation>
    </message>
    <message id="7540">
        <source>Folgende Überwachungen existieren:|&amp;Hinzufügen...|&amp;Bearbeiten...|Entfernen|Aktivieren|Deaktivieren</source>
        <translation>The following auditions exist:|&amp;Add...|&amp;Edit...|Remove|Activate|Deactivate</translation>
    </message>
    <message id="7541">
        <source>Ü&amp;bernehmen</source>
        <translation>&amp;Apply</translation>
    </message>
    <message id="7542">
        <source>Neue Überwachung|Bitte wählen Sie die Art der Überwachung aus|Dieser Rechner</source>
        <translation>New audition|Please choose the kind of audition|This computer</translation>
    </message>
    <message id="7543">
        <source>Allgemein|Name der Überwachung:|Beschreibung:|Typ der Überwachung:|Aktiv von|bis|Uhr</source>
        <translation>General|Name of the audition:|Description:|Type of audition:|Active from|to|o'clock</translation>
    </message>
    <message id="7544">
        <source>Applikation|Überwachter Rechner:|Programmdatei:</source>
        <translation>Application|Watched computer:|Program file:</translation>
    </message>
    <message id="7545">
        <source>Service|Überwachter Rechner:|Servicename (intern):|Service Name (Anzeige):|Programmdatei:</source>
        <translation>Service|Watched computer:|Service name (internal):|Service name (display):|Program file:</translation>
    </message>
    <message id="7546">
        <source>Logdatei|Überwachte Logdatei:|&amp;Durchsuchen...|Art der Überwachung:|Datei auf Vorhandensein prüfen|Datei auf Änderung prüfen|Prüfung alle|Minuten</source>
        <translation>Log file|Watched log file:|&amp;Browse...|Kind of audition:|Check that the file exists|Check the file for changes|Check every|minutes</translation>
    </message>
    <message id="7547">
        <source>Netzwerk|TCP/IP Adresse:|Timeout in Sekunden:|Prüfung alle|Minuten</source>
        <translation>Network|TCP/IP address:|Time-out in seconds:|Check every|minutes</translation>
    </message>
    <message id="7548">
        <source>NT-Eventlog|Überwachter Rechner:|Überwachtes Eventlog|System|Anwendung|Überwachte Einträge|Warnungen|Fehler|Filter|Keiner|Einschluß|Ausschluß|Quellen (getrennt durch ";"):|Ereignis-IDs (getrennt durch ";"):</source>
        <translation>NT event log|Watched computer:|Watched event log|System|Application|Watched entries|Warnings|Errors|Filter|None|Include|Exclude|Sources (separated by ";"):|Event ids (separated by ";"):</translation>
    </message>
    <message id="7549">
        <source>Plug-In|Überwachter Rechner:|Plug-In:|&amp;Konfigurieren...</source>
        <translation>Plug-in|Watched computer:|Plug-in:|&amp;Configure...</translation>
    </message>
    <message id="7550">
        <source>Aktionen|Durchzuführende Aktionen|Startparameter:|Benachrichtigungseinstellungen|sofort bei Auftreten|bei erfolgloser Behebung|bei erfolgreicher Behebung|Prüfzeitraum:|Min.|Benachrichtigungsprofile:|Aktionen des Plug-Ins:</source>
        <translation>Actions|Actions to perform|Start parameters:|Notification settings|at once when it occurs|when the repair failed|when the repair succeeded|Checking period:|min.|Notify profiles:|Actions of the plug-in:</translation>
    </message>
    <message id="7551">
        <source>Ungültige Eingabe im Feld &lt;%s&gt;:
%s</source>
        <translation>Invalid entry in the field &lt;%s&gt;:
%s</translation>
    </message>
    <message id="7560">
        <source>Plug-Ins</source>
        <translation>Plug-ins</translation>
    </message>
    <message id="7561">
        <source>Typ</source>
        <translation>Type</translation>
    </message>
    <message id="7562">
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message id="7563">
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message id="7564">
        <source>Beschreibung</source>
        <translation>Description</translation>
    </message>
    <message id="7565">
        <source>&amp;Installieren...</source>
        <translation>&amp;Install...</translation>
    </message>
    <message id="7566">
        <source>&amp;Entfernen</source>
        <translation>&amp;Remove</translation>
    </message>
    <message id="7567">
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message id="7570">
        <source>SMS|MS-Mail|Fax|Drucker|Internet-Mail|SNMP</source>
        <translation>SMS|MS Mail|Fax|Printer|Internet mail|SNMP</translation>
    </message>
    <message id="7571">
        <source>&amp;Durchsuchen...</source>
        <translation>&amp;Browse...</translation>
    </message>
    <message id="7572">
        <source>Vorwahl für Amt:</source>
        <translation>Outside line prefix:</translation>
    </message>
    <message id="7573">
        <source>Anzahl Versuche:</source>
        <translation>Number of attempts:</translation>
    </message>
    <message id="7574">
        <source>Einwahlnummern</source>
        <translation>Dial-in numbers</translation>
    </message>
    <message id="7575">
        <source>D1:|D2:|E-Plus:|Quix:|Natel D:</source>
        <translation>D1:|D2:|E-Plus:|Quix:|Natel D:</translation>
    </message>
    <message id="7576">
        <source>Anmeldeprofil:</source>
        <translation>Logon profile:</translation>
    </message>
    <message id="7577">
        <source>Passwort:</source>
        <translation>Password:</translation>
    </message>
    <message id="7578">
        <source>Com-Port:</source>
        <translation>COM port:</translation>
    </message>
    <message id="7579">
        <source>Modem Initialisierungsstring:</source>
        <translation>Modem initialisation string:</translation>
    </message>
    <message id="7580">
        <source>Wahlverfahren</source>
        <translation>Dialling method</translation>
    </message>
    <message id="7581">
        <source>Impuls</source>
        <translation>Pulse</translation>
    </message>
    <message id="7582">
        <source>Frequenz</source>
        <translation>Tone</translation>
    </message>
    <message id="7583">
        <source>Mail Server:</source>
        <translation>Mail server:</translation>
    </message>
    <message id="7584">
        <source>Absenderadresse:</source>
        <translation>Sender address:</translation>
    </message>
    <message id="7585">
        <source>Keine Einstellungen</source>
        <translation>No settings</translation>
    </message>
    <message id="7586">
        <source>Protokolldatei:</source>
        <translation>Protocol file:</translation>
    </message>
    <message id="7587">
        <source>Datenverzeichnis:</source>
        <translation>Data directory:</translation>
    </message>
    <message id="7588">
        <source>Der Benachrichtigungstest läuft...</source>
        <translation>The notification test is running...</translation>
    </message>
    <message id="7590">
        <source>Allgemein</source>
        <translation>General</translation>
    </message>
    <message id="7591">
        <source>Benachrichtigungen</source>
        <translation>Notifications</translation>
    </message>
    <message id="7592">
        <source>&amp;Hinzufügen...|&amp;Bearbeiten...|&amp;Entfernen</source>
        <translation>&amp;Add...|&amp;Edit...|&amp;Remove</translation>
    </message>
    <message id="7593">
        <source>Nach &amp;oben|Nach &amp;unten</source>
        <translation>Move &amp;up|Move &amp;down</translation>
    </message>
    <message id="7594">
        <source>Name des Profils:|Beschreibung:</source>
        <translation>Profile name:|Description:</translation>
    </message>
    <message id="7595">
        <source>Benachrichtigungsname:|Beschreibung:|benutzte Dienste:</source>
        <translation>Notification name:|Description:|Services used:</translation>
    </message>
    <message id="7596">
        <source>Aktiv von|bis|Uhr|&amp;Test</source>
        <translation>Active from|to|o&apos;clock|&amp;Test</translation>
    </message>
    <message id="7597">
        <source>Benachrichtigungsnummer:|Absender:</source>
        <translation>Notification number:|Sender:</translation>
    </message>
    <message id="7598">
        <source>Empfänger:|Zusatztext:</source>
        <translation>Recipients:|Additional text:</translation>
    </message>
    <message id="7599">
        <source>Benachrichtigungsnummer:|Zusatztext:</source>
        <translation>Notification number:|Additional text:</translation>
    </message>
    <message id="7600">
        <source>Drucker:|Zusatztext:</source>
        <translation>Printer:|Additional text:</translation>
    </message>
    <message id="7601">
        <source>Enterprise ID:|ID der Variablen mit dem Meldungstext:|Trap ID bei Auftreten des Problems:|Trap ID bei erfolgreicher Problembehebung:|Trap ID bei erfolgloser Problembehebung:</source>
        <translation>Enterprise ID:|ID of the variable with the message text:|Trap ID when the problem occurs:|Trap ID when the problem was resolved:|Trap ID when the problem could not be resolved:</translation>
    </message>
    <message id="7602">
        <source>Druckerauswahl</source>
        <translation>Printer selection</translation>
    </message>
    <message id="7603">
        <source>Auf diesem Computer ist kein Drucker eingerichtet.</source>
        <translation>No printer is set up on this computer.</translation>
    </message>
    <message id="7604">
        <source>Die Anmeldung im MAIL System läuft...</source>
        <translation>Logging on to the mail system...</translation>
    </message>
    <message id="7605">
        <source>Die Drucker dieses Computers werden gelesen...</source>
        <translation>Reading the printers of this computer...</translation>
    </message>
    <message id="32779">
        <source>Inhalt der TARN! Ereignisanzeige in Datei speichern
TARN! Ereignisanzeige speichern</source>
        <translation>Save the contents of the TARN! event view to a file
Save TARN! event view</translation>
    </message>
    <message id="32780">
        <source>Allgemeine Einstellungen der Benachrichtigungsdienste bearbeiten
Benachrichtigungsdienste</source>
        <translation>Edit the general settings of the notification services
Notification services</translation>
    </message>
    <message id="32782">
        <source>Allgemeine Einstellungen von TARN! bearbeiten
Allgemeine Einstellungen</source>
        <translation>Edit the general settings of TARN!
General settings</translation>
    </message>
    <message id="32784">
        <source>Benachrichtigungsprofile bearbeiten
Benachrichtigungsprofile</source>
        <translation>Edit notify profiles
Notify profiles</translation>
    </message>
    <message id="32785">
        <source>Überwachungen bearbeiten und aktivieren/deaktivieren
Überwachungen</source>
        <translation>Edit and activate/deactivate auditions
Auditions</translation>
    </message>
    <message id="32794">
        <source>Ereignisanzeige aktivieren
Ereignisanzeige</source>
        <translation>Show the event view
Event view</translation>
    </message>
    <message id="32797">
        <source>Alle Einträge aus der Ereignisanzeige löschen
Ereignisanzeige löschen</source>
        <translation>Remove all entries from the event view
Clear event view</translation>
    </message>
    <message id="32798">
        <source>Problemanzeige aktivieren
Problemanzeige</source>
        <translation>Show the problem view
Problem view</translation>
    </message>
    <message id="32805">
        <source>Verwaltung von Plug-In Komponenten
Plug-Ins</source>
        <translation>Manage plug-in components
Plug-ins</translation>
    </message>
    <message id="32807">
        <source>Letzte aktive Überwachungen bei Neustart reaktivieren
Überwachungen reaktivieren</source>
        <translation>Reactivate the last active auditions at restart
Reactivate auditions</translation>
    </message>
    <message id="32809">
        <source>velda Home Page im WWW öffnen
velda Home Page</source>
        <translation>Open the velda home page on the WWW
velda Home Page</translation>
    </message>
</context>
</TS>
