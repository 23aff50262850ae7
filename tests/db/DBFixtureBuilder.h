// Builds configuration files as earlier releases left them (versions 2 to 9)
// and one of a later release (11), from this test's own description of each
// release's schema: the conversion is checked against files it did not make.
#pragma once

#include <map>
#include <string>
#include <vector>

// Creates the file at the version with its one-row tables filled.
void BuildConfigFile(const std::string& strPath, int nVersion);

// Adds a notification with the channel rows that exist at the file's version
// (four before version 4) and an application audition; returns the keys.
int AddOldNotification(const std::string& strPath, const std::string& strName);
int AddOldNetAudition(const std::string& strPath, const std::string& strName);

// Every table's columns as "NAME TYPE DEFAULT" and every named index with its
// uniqueness and columns, for comparing two files' schemas.
struct SchemaDescription {
    std::map<std::string, std::map<std::string, std::string>> Columns; // table → column → text
    std::map<std::string, std::string> Indexes;                        // name → text
    bool operator==(const SchemaDescription&) const = default;
};
SchemaDescription DescribeSchema(const std::string& strPath);
std::string Difference(const SchemaDescription& a, const SchemaDescription& b);
