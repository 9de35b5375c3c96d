#pragma once

class HistoryStore;
class QuizSession;
struct ModalSeam;
struct QuestionBank;

// What a window may use: the bank on show, the quiz in progress, the results
// file to read, and the seam through which message boxes are shown. Windows
// never open or close one another: they ask the navigator through signals.
struct WindowServices {
    const QuestionBank &bank;
    QuizSession &session;
    HistoryStore &history;
    ModalSeam &modal;
};
