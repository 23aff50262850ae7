// Binding of the table PLUGINS: one row per installed plug-in, keyed by the plug-in's type.
#pragma once

#include "CDBBinding.h"
#include "DBRecords.h"

class CDBRPlugins final : public CDBBinding<DBPlugin> {
public:
    static const CDBRPlugins& Get() {
        static const CDBRPlugins binding;
        return binding;
    }

private:
    using R = DBPlugin;

    CDBRPlugins()
        : CDBBinding("PLUGINS", "PLUGIN_TYPE", DBIndexKind::None,
                     {
                         Text("PLUGIN_NAME", &R::PLUGIN_NAME),
                         Long("PLUGIN_TYPE", &R::PLUGIN_TYPE, "0"),
                         Text("PLUGIN_MODULE", &R::PLUGIN_MODULE),
                     }) {}
};
