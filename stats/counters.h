// The counters template (one counter per line: label, "|", formula) and the values shown for it.
// The template lines live in CountersTemplateLines; the window is reached through UiHooks.
#pragma once

#include <string>

namespace quorlet {

// Rebuilds CounterLabels/CounterValues from the template and hands them to the counters grid.
void RefreshCounters();
void RefreshCountersForward();

// The user's regional decimal separator (the C locale's, which the UI sets from the environment).
char RegionalDecimalSeparator();

// Value text of one template line, or of a bare formula.
std::string CounterValueText(const std::string& line);

// Drops every blank, makes the formula end in "=" (unless empty) and evaluates it.
long double EvalCounterFormula(const std::string& formula);

// Text before the first "|", blanks trimmed at both ends.
std::string CounterLabel(const std::string& line);

// Not empty, not a ";" comment, exactly one "|".
bool IsCounterLine(const std::string& line);

// "_counter_template.txt" in the program folder; empty when there is no program folder.
std::string CountersTemplatePath();
// A template file that cannot be read (not a regular file, over kMaxSmallFileBytes) is the
// default with the "#error loading" line, and is not written over. Never throws.
void LoadCountersTemplate();
// False when the file could not be written (logged; the caller tells the player).
bool SaveCountersTemplate();
void DropEmptyCounterTemplateLines();
void ClearCountersTemplate();

void ShowCountersWindow();
void HideCountersWindow();
void ApplyCountersBorder();

} // namespace quorlet
