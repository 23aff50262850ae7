// A new installation's configuration and history files in a temporary
// directory, opened by the database front, for the sheets' tests.
#pragma once

#include "CDBEngineTARN.h"
#include "DBTestSupport.h"

class CFreshDatabase {
public:
    CFreshDatabase() {
        const DBFiles files = CreateFreshFiles(m_dir);
        bool config = false, history = false;
        m_engine.Open(files.Config, files.History, config, history);
        m_bOpen = config && history;
    }

    bool IsOpen() const { return m_bOpen; }
    CDBEngineTARN& Engine() { return m_engine; }
    const CTempDir& Dir() const { return m_dir; }

private:
    CTempDir m_dir;
    CDBEngineTARN m_engine;
    bool m_bOpen = false;
};
