// Every user-visible text of the system, by numeric id.
//
// The built-in German texts come from strings.de.tsv, compiled into the
// console at build time. A translation catalogue replaces the texts of the ids
// it holds through SetTarnString. All functions are safe to call from any
// thread; replacing texts is meant for start-up (language selection).
#pragma once

#include <string>
#include <utility>
#include <vector>

// The text of an id in the running language; a missing id is an assertion
// (LUTool.h, description "String nicht gefunden (ID n)") and yields an empty text.
std::string LoadTarnString(unsigned id);
// Replaces the text of one id (a loaded translation catalogue does this).
// An id that the built-in table does not have is added.
void SetTarnString(unsigned id, std::string text);
// Every id with its text, in id order.
std::vector<std::pair<unsigned, std::string>> GetAllTarnStrings();
// Drops every replacement: back to the built-in German texts.
void ResetTarnStrings();
