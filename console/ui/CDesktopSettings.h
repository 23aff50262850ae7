// What the desktop console remembers between starts (window geometry, the
// splitter, column widths) and the address of its home-page command, kept in
// the registry file under a key of its own that only the desktop console
// writes: [SOFTWARE\velda\TARN!\Desktop].
#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

class CDesktopSettings {
public:
    static constexpr const char* kKey = "SOFTWARE\\velda\\TARN!\\Desktop";

    explicit CDesktopSettings(std::string registryFile);

    QByteArray ReadBytes(const char* value) const;
    void WriteBytes(const char* value, const QByteArray& bytes) const;
    // Comma-separated numbers; empty when missing or malformed.
    std::vector<int> ReadNumbers(const char* value) const;
    void WriteNumbers(const char* value, const std::vector<int>& numbers) const;
    // "HomePage", else the given default.
    QString HomePage(const QString& defaultAddress) const;

private:
    std::string m_strFile;
};
