// The database operations the plug-in host needs. The console's database
// front satisfies it through CPluginStoreAdapter; tests supply their own.
// Each operation returns false after a database error, which the database
// layer has already reported.
#pragma once

#include "DBRecords.h"

class IPluginStore {
public:
    virtual ~IPluginStore() = default;

    virtual bool GetAllPlugins(DBPluginList& list) = 0;
    // Adds the row of the record's type or changes it.
    virtual bool SetPlugin(const DBPlugin& record) = 0;
    virtual bool DeletePlugin(const DBPlugin& record) = 0;
    // Every audition with its detail record.
    virtual bool GetAllAuditions(DBAuditionList& list) = 0;
};

// Forwards to any object with the four operations of the same names.
template <class Database> class CPluginStoreAdapter final : public IPluginStore {
public:
    explicit CPluginStoreAdapter(Database& database) : m_database(database) {}

    bool GetAllPlugins(DBPluginList& list) override { return m_database.GetAllPlugins(list); }
    bool SetPlugin(const DBPlugin& record) override {
        DBPlugin copy = record;
        return m_database.SetPlugin(copy);
    }
    bool DeletePlugin(const DBPlugin& record) override {
        DBPlugin copy = record;
        return m_database.DeletePlugin(copy);
    }
    bool GetAllAuditions(DBAuditionList& list) override { return m_database.GetAllAuditions(list); }

private:
    Database& m_database;
};
