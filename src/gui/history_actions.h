#pragma once

#include <QtGlobal>
#include <vector>

class HistoryStore;
class QWidget;
class QuizSession;
struct ModalSeam;
struct QuestionBank;

// What the program does with the results file, with the messages it gives.

// What the "Keep my results on this computer" boxes do. Turning history on
// creates the results file; turning it off asks first and deletes the file.
// Returns whether history is on afterwards; a problem is told in a message.
bool keep_results(HistoryStore &history, ModalSeam &modal, QWidget *parent, bool keep);

// Shows what the results file has to tell the student (a damaged file moved
// aside, a failure to save), if anything, once.
void tell_history_notice(HistoryStore &history, ModalSeam &modal, QWidget *parent);

// Saves the quiz just ended when history is on; a failure is told once and
// the program goes on.
void save_quiz(HistoryStore &history, ModalSeam &modal, const QuizSession &session, const QuestionBank &bank,
               QWidget *parent);

// The bank questions due for review now, in the order to ask them; empty
// when history is off or none is due.
std::vector<qint16> due_for_review(HistoryStore &history, ModalSeam &modal, const QuestionBank &bank,
                                   QWidget *parent);
