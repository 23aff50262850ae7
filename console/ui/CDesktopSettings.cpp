#include "CDesktopSettings.h"

#include "RegistryFile.h"
#include "UiText.h"

#include <QStringList>

CDesktopSettings::CDesktopSettings(std::string registryFile) : m_strFile(std::move(registryFile)) {}

QByteArray CDesktopSettings::ReadBytes(const char* value) const {
    const std::string text = CRegistryFile(m_strFile).ReadString(kKey, value);
    return QByteArray::fromBase64(QByteArray::fromStdString(text));
}

void CDesktopSettings::WriteBytes(const char* value, const QByteArray& bytes) const {
    CRegistryFile registry(m_strFile);
    registry.CreateKey(kKey);
    registry.WriteString(kKey, value, bytes.toBase64().toStdString());
}

std::vector<int> CDesktopSettings::ReadNumbers(const char* value) const {
    const QString text = ToQString(CRegistryFile(m_strFile).ReadString(kKey, value));
    std::vector<int> numbers;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int number = part.trimmed().toInt(&ok);
        if (!ok || number < 0)
            return {};
        numbers.push_back(number);
    }
    return numbers;
}

void CDesktopSettings::WriteNumbers(const char* value, const std::vector<int>& numbers) const {
    QStringList parts;
    for (int number : numbers)
        parts << QString::number(number);
    CRegistryFile registry(m_strFile);
    registry.CreateKey(kKey);
    registry.WriteString(kKey, value, parts.join(QLatin1Char(',')).toStdString());
}

QString CDesktopSettings::HomePage(const QString& defaultAddress) const {
    const std::string address = CRegistryFile(m_strFile).ReadString(kKey, "HomePage");
    return address.empty() ? defaultAddress : ToQString(address);
}
