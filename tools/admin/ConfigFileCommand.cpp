// tarn-admin export and import: the whole configuration as one JSON document
// (see CConfigDocument). The import checks the whole document first and then
// writes it in one transaction on the configuration file, so that a refused
// document or a failed write changes nothing.
#include "AdminSession.h"

#include "AppPaths.h"
#include "CConfigDocument.h"
#include "CDBConfigStore.h"
#include "CHeadlessDBReporter.h"
#include "MessageIds.h"
#include "StringTable.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kMaxDocumentBytes = 64 * 1024 * 1024;

bool ReadSnapshot(CDBEngineTARN& database, ConfigSnapshot& snapshot) {
    if (!database.GetConfiguration(snapshot.settings) ||
        !database.GetNotifyServicesConfig(snapshot.services) ||
        !database.GetAllPlugins(snapshot.plugins) ||
        !database.GetAllNotifications(snapshot.notifications) ||
        !database.GetAllNotifyProfiles(snapshot.profiles) ||
        !database.GetAllAuditions(snapshot.auditions))
        return false;
    for (const DBNotifyProfile& profile : snapshot.profiles) {
        if (!database.GetNotifyProfileNotifications(
                profile.PROFILE_ID, snapshot.profileNotifications[profile.PROFILE_ID]))
            return false;
    }
    for (const DBAudition& audition : snapshot.auditions) {
        if (!database.GetAuditNotifyProfiles(audition.AUDITION_ID,
                                             snapshot.auditionProfiles[audition.AUDITION_ID]))
            return false;
    }
    return true;
}

// Writes beside the target and renames, so that a reader never sees half a file.
bool WriteFile(const std::string& path, const std::string& text) {
    if (path == "-") {
        std::cout << text;
        return bool(std::cout);
    }
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) {
            std::cerr << "tarn-admin: cannot write " << temporary << "\n";
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::cerr << "tarn-admin: cannot write " << path << "\n";
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

// A regular file of at most kMaxDocumentBytes; "-" reads standard input.
bool ReadFile(const std::string& path, std::string& text) {
    const int fd =
        path == "-" ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0 || (path != "-" && !S_ISREG(status.st_mode))) {
        std::cerr << "tarn-admin: cannot read " << path << "\n";
        if (fd > STDIN_FILENO)
            ::close(fd);
        return false;
    }
    char buffer[65536];
    ssize_t count = 0;
    while (text.size() <= kMaxDocumentBytes && (count = ::read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(count));
    if (fd != STDIN_FILENO)
        ::close(fd);
    if (count < 0 || text.size() > kMaxDocumentBytes) {
        std::cerr << "tarn-admin: cannot read " << path << " (or larger than 64 MiB)\n";
        return false;
    }
    return true;
}

// An active plug-in audition needs its plug-in in the document or installed.
void CheckPlugins(const ConfigSnapshot& snapshot, const DBPluginList& installed,
                  ConfigErrors& errors) {
    for (size_t i = 0; i < snapshot.auditions.size(); ++i) {
        const DBAudition& audition = snapshot.auditions[i];
        if (audition.AUDITION_TYPE != static_cast<int32_t>(AuditionType::Plugin) ||
            !audition.ACTIVE)
            continue;
        const auto matches = [&](const DBPlugin& plugin) {
            return plugin.PLUGIN_TYPE == audition.Plugin.PLUGIN_TYPE;
        };
        if (std::none_of(snapshot.plugins.begin(), snapshot.plugins.end(), matches) &&
            std::none_of(installed.begin(), installed.end(), matches))
            errors.push_back({"auditions[" + std::to_string(i) + "].PLUGIN_TYPE",
                              LoadTarnString(IDS_PLUGIN_NOT_INSTALLED)});
    }
}

DBKeyList MapKeys(const DBKeyList& keys, const std::map<int32_t, int32_t>& numbers) {
    DBKeyList mapped;
    for (int32_t key : keys)
        mapped.push_back(numbers.at(key));
    return mapped;
}

bool RemoveAll(CDBConfigStore& store) {
    DBAuditionList auditions;
    DBNotificationList notifications;
    DBNotifyProfileList profiles;
    if (!store.GetAllAuditions(auditions) || !store.GetAllNotifications(notifications) ||
        !store.GetAllNotifyProfiles(profiles))
        return false;
    for (const DBAudition& audition : auditions) {
        if (!store.DeleteAudition(audition.AUDITION_ID))
            return false;
    }
    for (const DBNotifyProfile& profile : profiles) {
        if (!store.DeleteNotifyProfile(profile.PROFILE_ID))
            return false;
    }
    for (const DBNotification& notification : notifications) {
        if (!store.DeleteNotification(notification.NOTIFICATION_ID))
            return false;
    }
    return true;
}

// Stores the checked snapshot; the records get new keys, the relations follow.
bool StoreSnapshot(CDBConfigStore& store, ConfigSnapshot snapshot) {
    if (!store.SetConfiguration(snapshot.settings) ||
        !store.SetNotifyServicesConfig(snapshot.services))
        return false;
    for (const DBPlugin& plugin : snapshot.plugins) {
        if (!store.SetPlugin(plugin))
            return false;
    }
    std::map<int32_t, int32_t> notificationKeys, profileKeys;
    for (DBNotification& notification : snapshot.notifications) {
        const int32_t number = notification.NOTIFICATION_ID;
        notification.NOTIFICATION_ID = DB_KEY_NEW;
        if (!store.SetNotification(notification))
            return false;
        notificationKeys[number] = notification.NOTIFICATION_ID;
    }
    for (DBNotifyProfile& profile : snapshot.profiles) {
        const int32_t number = profile.PROFILE_ID;
        profile.PROFILE_ID = DB_KEY_NEW;
        if (!store.SetNotifyProfile(profile) ||
            !store.SetNotifyProfileNotifications(
                profile.PROFILE_ID,
                MapKeys(snapshot.profileNotifications[number], notificationKeys)))
            return false;
        profileKeys[number] = profile.PROFILE_ID;
    }
    for (DBAudition& audition : snapshot.auditions) {
        const int32_t number = audition.AUDITION_ID;
        audition.AUDITION_ID = AUDITION_ID_NEW;
        if (!store.SetAudition(audition) ||
            !store.SetAuditNotifyProfiles(audition.AUDITION_ID,
                                          MapKeys(snapshot.auditionProfiles[number], profileKeys)))
            return false;
    }
    return true;
}

int Import(const std::string& path, bool replace) {
    std::string text;
    if (!ReadFile(path, text))
        return 1;
    std::unique_ptr<CDBEngineTARN> database = OpenInstallation(); // checks the version
    DBPluginList installed;
    if (!database || !database->GetAllPlugins(installed))
        return 1;
    database.reset(); // the import writes through its own connection
    ConfigSnapshot snapshot;
    ConfigErrors errors;
    CConfigDocument::Read(text, snapshot, errors);
    CheckPlugins(snapshot, installed, errors);
    if (!errors.empty())
        return ReportErrors(errors, "");
    std::string error;
    std::unique_ptr<CDBConnection> connection =
        CDBConnection::Open(GetInstallationDirectory() + "TARN.MDB", error);
    if (!connection) {
        std::cerr << "tarn-admin: " << error << "\n";
        return 1;
    }
    CHeadlessDBReporter reporter;
    CDBConfigStore store(*connection, reporter);
    try {
        CDBTransaction transaction(*connection);
        if ((replace && !RemoveAll(store)) || !StoreSnapshot(store, snapshot))
            return 1; // rolled back; the store reported the cause
        transaction.Commit();
    } catch (const std::exception& failure) {
        std::cerr << "tarn-admin: nothing imported: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int RunExport(const AdminArgs& args) {
    AdminSession session;
    if (!ParseSessionOptions(args, session) || session.words.size() != 1) {
        std::cerr << "usage: tarn-admin export FILE|-  [--home DIR]\n";
        return 2;
    }
    std::unique_ptr<CDBEngineTARN> database = OpenInstallation();
    ConfigSnapshot snapshot;
    if (!database || !ReadSnapshot(*database, snapshot))
        return 1;
    return WriteFile(session.words[0], CConfigDocument::Write(snapshot)) ? 0 : 1;
}

static int ChangeImport(const AdminArgs& args) {
    AdminSession session;
    const auto isMode = [](const std::string& word) {
        return word == "--replace" || word == "--merge";
    };
    if (!ParseSessionOptions(args, session) || session.words.empty() ||
        std::count_if(session.words.begin(), session.words.end(), isMode) > 1 ||
        session.words.size() - std::count_if(session.words.begin(), session.words.end(), isMode) !=
            1) {
        std::cerr << "usage: tarn-admin import FILE|- [--replace | --merge]  [--home DIR]\n";
        return 2;
    }
    const bool replace =
        std::find(session.words.begin(), session.words.end(), "--replace") != session.words.end();
    const auto file = std::find_if_not(session.words.begin(), session.words.end(), isMode);
    return Import(*file, replace);
}

int RunImport(const AdminArgs& args) {
    return WithReload(args, ChangeImport);
}
