#pragma once
// Splitting a script file into statements. A statement is a run of lines ended
// by a separator line: one that is blank (blanks and control characters only),
// or one holding "{***}" or "---" anywhere. Separator lines belong to no statement.
#include <string>
#include <string_view>
#include <vector>

#include "text/TextFile.h"

bool IsScriptSeparator(std::string_view line);

// Reads the next statement's lines, exactly as they stand in the file. Reading
// past the end yields a blank line, so the end of the file ends the last
// statement and a file at its end gives an empty statement.
std::vector<std::string> ReadScriptStatement(text::TextFileReader& script);

// The tables a statement writes by name (INSERT INTO, UPDATE, DELETE FROM,
// UPDATE OR INSERT INTO, MERGE INTO), upper-cased, in the order named.
std::vector<std::string> TablesWrittenBy(const std::vector<std::string>& lines);
