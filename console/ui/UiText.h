// Texts of the desktop console: every visible text comes from the string
// table by id (the running language's catalogue when one was loaded).
#pragma once

#include <QString>

#include <string>

QString UiText(unsigned id);
// A command's status-bar prompt (the text before "\n") and its tool tip (after it).
QString CommandPrompt(unsigned id);
QString CommandTip(unsigned id);
// The text of id with its first "%s" replaced by argument.
QString UiTextWith(unsigned id, const QString& argument);
// One part of a text whose parts are separated by "|" (the labels of one
// dialog page share an id); empty when the text has fewer parts.
QString UiTextPart(unsigned id, int part);
QString ToQString(const std::string& text);
// A filter text of the string table ("Textdateien (*.txt)|*.txt|Alle Dateien
// (*.*)|*.*||") as a file dialog filter: the names, which carry their
// patterns, separated by ";;".
QString FileDialogFilter(unsigned id);
