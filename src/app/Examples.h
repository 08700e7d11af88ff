#pragma once

#include "DemoType.h"

#include <QList>
#include <QString>
#include <QStringList>

// A ready-made input for one demo that shows something worth discussing.
struct Example
{
    // Stable name, for object names and tests.
    QString id;
    DemoType demo = DemoType::sentimentAnalysis;
    // The menu item's text, in English; shown through Examples::displayed.
    QString title;
    // What the example is meant to show, for the status tip and tool tip.
    QString lesson;
    // One text for the sentiment demo, two sentences for the similarity demo.
    QStringList texts;
};

// A ready-made set of sentences for the Sentence Map window.
struct SentenceSet
{
    QString id;
    QString title;
    QString lesson;
    QStringList sentences;
};

namespace Examples {

// The sentence sets, in menu order.
const QList<SentenceSet> &sentenceSets();

// Every example, sentiment ones first, in menu order.
const QList<Example> &all();

// The examples of one demo, in menu order.
QList<Example> forDemo(DemoType demo);

// A title or lesson from the tables above in the user's language; the
// tables keep the English text, which tests and object names rely on.
QString displayed(const QString &text);

// How many texts a demo takes: 1 for sentiment, 2 for similarity.
int textCount(DemoType demo);

} // namespace Examples
