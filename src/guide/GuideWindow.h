#pragma once

#include <QLocale>
#include <QWidget>

class QTextBrowser;

// The Quillmere Guide: a window with one page of HTML from the resources,
// with a table of contents and links between its sections. Tab moves from
// link to link, Enter follows one, Alt+Left and Alt+Right go back and
// forward; a screen reader reads the page through the text browser.
class GuideWindow : public QWidget
{
    Q_OBJECT

public:
    // The section names that other screens link to.
    static inline const QString sentimentSection = QStringLiteral("how-sentiment");
    static inline const QString similaritySection = QStringLiteral("how-similarity");
    // Links of this scheme open the guide at the section named by their
    // path, e.g. "quillmere-guide:how-similarity".
    static inline const QString linkScheme = QStringLiteral("quillmere-guide");

    explicit GuideWindow(QWidget *parent = nullptr);

    // The guide in the locale's language when it is bundled
    // (":/guide/guide_de.html"), else in English (":/guide/guide.html").
    static QString resourceFor(const QLocale &locale);

    // Shows the section with the given anchor, or the top for an empty one.
    void showSection(const QString &section);

    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *const m_browser;
};
