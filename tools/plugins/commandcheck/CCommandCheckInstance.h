// One command-check audition: each check runs the configured command and
// turns its exit status into the check result.
#pragma once

#include <tarn/TarnPlugin.h>

#include <string>

class CCommandCheckInstance final : public IPluginInstance {
public:
    CCommandCheckInstance(int32_t nAuditionID, std::string strComputer, IPluginHost* pHost)
        : m_nAuditionID(nAuditionID), m_strComputer(std::move(strComputer)), m_pHost(pHost) {}
    ~CCommandCheckInstance() = default;

    // Opens the configuration dialog; where it cannot be shown (no desktop),
    // tells where the settings live.
    void Configure() override;
    void Deleting() override {}
    int32_t IsConfigured() override;
    int32_t Check(PluginCheckResult* pResult) override;
    void Stop() override {}
    void GetActions(PluginActionList*) override {}

private:
    int32_t m_nAuditionID;
    std::string m_strComputer;
    IPluginHost* m_pHost;

    void ShowWhereSettingsLive();
};
