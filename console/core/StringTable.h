// Engineers: read CONTRIBUTING.md at the top of the tree before changing anything.
// Every user-visible text of the system, by numeric id.
#pragma once

#include <string>
#include <utility>
#include <vector>

// The text of an id in the running language; a missing id is an assertion and
// yields an empty text.
std::string LoadTarnString(unsigned id);
// Replaces the text of one id (a loaded translation catalogue does this).
void SetTarnString(unsigned id, std::string text);
// Every id with its text, in id order.
std::vector<std::pair<unsigned, std::string>> GetAllTarnStrings();
