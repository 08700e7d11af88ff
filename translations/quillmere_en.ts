<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>HistoryWindow</name>
    <message numerus="yes">
        <source>Saved %n rows to %1.</source>
        <translation>
            <numerusform>Saved %n row to %1.</numerusform>
            <numerusform>Saved %n rows to %1.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SamplingLab</name>
    <message numerus="yes">
        <source>%n times</source>
        <translation>
            <numerusform>%n time</numerusform>
            <numerusform>%n times</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Asked %n times with %1: %2</source>
        <translation>
            <numerusform>Asked %n time with %1: %2</numerusform>
            <numerusform>Asked %n times with %1: %2</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Ask %n Times</source>
        <translation>
            <numerusform>Ask %n Time</numerusform>
            <numerusform>Ask %n Times</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SentenceMapWindow</name>
    <message numerus="yes">
        <source>%n sentences</source>
        <translation>
            <numerusform>%n sentence</numerusform>
            <numerusform>%n sentences</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n of at least 3 sentences.</source>
        <translation>
            <numerusform>%n of at least 3 sentences.</numerusform>
            <numerusform>%n of at least 3 sentences.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n sentences: one map holds at most 16, so remove %1.</source>
        <translation>
            <numerusform>%n sentence: one map holds at most 16, so remove %1.</numerusform>
            <numerusform>%n sentences: one map holds at most 16, so remove %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n sentences.</source>
        <translation>
            <numerusform>%n sentence.</numerusform>
            <numerusform>%n sentences.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SentimentReadingText</name>
    <message numerus="yes">
        <source>%n tokens generated</source>
        <translation>
            <numerusform>%n token generated</numerusform>
            <numerusform>%n tokens generated</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SimilarityReadingText</name>
    <message numerus="yes">
        <source>%n dimensions</source>
        <translation>
            <numerusform>%n dimension</numerusform>
            <numerusform>%n dimensions</numerusform>
        </translation>
    </message>
</context>
</TS>
