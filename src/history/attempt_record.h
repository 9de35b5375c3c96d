#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <vector>

// What the results file keeps of one quiz: the attempt and every answer given.
// Times are UTC.

enum class QuizMode { practice, exam };

struct AnswerRecord {
    qint16 question_id = 0;   // bank index
    QString question_hash;    // question_identity.h: an edited question is a new one
    QString topic;
    QString given;            // letters pressed as shown ("A C") or the typed text
    bool right = false;
    qint64 time_ms = 0;       // time spent on the question
};

struct AttemptRecord {
    QString bank_title;
    QString bank_hash;        // question_identity.h
    int quiz = 0;             // 1..4; chosen_questions for a retry, due_questions for the questions due
    // Questions of the quiz: a quiz quit early counts those not reached as
    // missed, as its result box does.
    QuizMode mode = QuizMode::practice;
    QString options;          // the options in force, as a short text
    QDateTime started;
    QDateTime ended;
    int asked = 0;
    int right = 0;
    std::vector<AnswerRecord> answers;

    static constexpr int chosen_questions = 0;
    static constexpr int due_questions = 5;
};

// One saved attempt without its answers, as the results window lists it.
struct AttemptSummary {
    qint64 id = 0;
    int quiz = 0;
    QuizMode mode = QuizMode::practice;
    QString options;
    QDateTime started;
    QDateTime ended;
    int asked = 0;
    int right = 0;
};

// The answers on one topic: of one attempt, or of every attempt (attempt_id 0).
struct TopicResult {
    qint64 attempt_id = 0;
    QString topic;
    int asked = 0;
    int right = 0;
};

// Right and asked per topic on one bank: over all its attempts, and per
// attempt for the latest of them (enough to see how each topic goes of late
// without reading years of attempts).
struct TopicResults {
    std::vector<TopicResult> totals;
    std::vector<TopicResult> latest;

    static constexpr int latest_attempts = 50;
};
