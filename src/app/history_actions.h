#pragma once

#include <QtGlobal>
#include <vector>

class Program;
class QWidget;

// What the windows do with the results file.

// What the "Keep my results on this computer" boxes do. Turning history on
// creates the results file; turning it off asks first and deletes the file.
// Returns whether history is on afterwards; a problem is told in a message.
bool keep_results(Program &program, QWidget *parent, bool keep);

// The review window's box: as keep_results, and turning history on there
// also keeps the quiz being reviewed.
bool keep_results_and_last_quiz(Program &program, QWidget *parent, bool keep);

// Shows what the results file has to tell the student (a damaged file moved
// aside, a failure to save), if anything, once.
void tell_history_notice(Program &program, QWidget *parent);

// Saves the quiz just ended (the program's answer log and quiz state) when
// history is on; a failure is told once and the quiz goes on.
void save_last_quiz(Program &program, QWidget *parent);

// The bank questions due for review now, index 0 unused (a quiz of chosen
// questions); empty when history is off or none is due.
std::vector<qint16> due_for_review(Program &program, QWidget *parent);
