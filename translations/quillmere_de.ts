<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AboutView</name>
    <message>
        <source>Created by</source>
        <translation>Erstellt von</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Two demos to introduce important concepts about transformers</source>
        <translation>Zwei Demos, die wichtige Konzepte von Transformern vorstellen</translation>
    </message>
    <message>
        <source>The Quillmere Team</source>
        <translation>Das Quillmere-Team</translation>
    </message>
</context>
<context>
    <name>AppInfo</name>
    <message>
        <source>Version %1 (%2)</source>
        <translation>Version %1 (%2)</translation>
    </message>
</context>
<context>
    <name>BusyIndicator</name>
    <message>
        <source>Busy</source>
        <translation>Beschäftigt</translation>
    </message>
</context>
<context>
    <name>CircularProgressGauge</name>
    <message>
        <source>%1 percent</source>
        <translation>%1 Prozent</translation>
    </message>
</context>
<context>
    <name>ClientError</name>
    <message>
        <source>The operation could not be completed. (%1 error %2.)</source>
        <translation>Der Vorgang konnte nicht abgeschlossen werden. (%1-Fehler %2.)</translation>
    </message>
</context>
<context>
    <name>ContentView</name>
    <message>
        <source>Quillmere</source>
        <translation>Quillmere</translation>
    </message>
    <message>
        <source>Demo Type</source>
        <translation>Art der Demo</translation>
    </message>
</context>
<context>
    <name>DemoScreen</name>
    <message>
        <source>How was this computed?</source>
        <translation>Wie wurde das berechnet?</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Read more in the Quillmere Guide</source>
        <translation>Mehr dazu im Quillmere-Leitfaden</translation>
    </message>
</context>
<context>
    <name>DemoType</name>
    <message>
        <source>Sentiment Analysis</source>
        <translation>Stimmungsanalyse</translation>
    </message>
    <message>
        <source>Sentence Similarity</source>
        <translation>Satzähnlichkeit</translation>
    </message>
</context>
<context>
    <name>Examples</name>
    <message>
        <source>Clear Praise</source>
        <translation>Klares Lob</translation>
    </message>
    <message>
        <source>Plainly positive words: expect a high score.</source>
        <translation>Eindeutig positive Wörter: Zu erwarten ist eine hohe Bewertung.</translation>
    </message>
    <message>
        <source>Clear Complaint</source>
        <translation>Klare Beschwerde</translation>
    </message>
    <message>
        <source>Plainly negative words: expect a low score.</source>
        <translation>Eindeutig negative Wörter: Zu erwarten ist eine niedrige Bewertung.</translation>
    </message>
    <message>
        <source>Neutral Fact</source>
        <translation>Neutrale Tatsache</translation>
    </message>
    <message>
        <source>A report with no feelings in it: expect the middle of the scale.</source>
        <translation>Ein Bericht ohne jedes Gefühl: Zu erwarten ist die Mitte der Skala.</translation>
    </message>
    <message>
        <source>Negation</source>
        <translation>Verneinung</translation>
    </message>
    <message>
        <source>&quot;Bad&quot; appears, but &quot;not bad at all&quot; is praise: does the model read the whole phrase?</source>
        <translation>„Bad“ kommt vor, aber „not bad at all“ (gar nicht schlecht) ist ein Lob: Liest das Modell die ganze Wendung?</translation>
    </message>
    <message>
        <source>Sarcasm</source>
        <translation>Sarkasmus</translation>
    </message>
    <message>
        <source>Positive words with a negative meaning: models often take them at face value.</source>
        <translation>Positive Wörter mit negativer Bedeutung: Modelle nehmen sie oft für bare Münze.</translation>
    </message>
    <message>
        <source>Mixed Feelings</source>
        <translation>Gemischte Gefühle</translation>
    </message>
    <message>
        <source>Praise and complaint together: one number has to sum up both.</source>
        <translation>Lob und Beschwerde zugleich: Eine einzige Zahl muss beides zusammenfassen.</translation>
    </message>
    <message>
        <source>Torn Between Two Ratings</source>
        <translation>Zwischen zwei Bewertungen</translation>
    </message>
    <message>
        <source>One half praises, the other complains: under &quot;How sure was the model?&quot; the probability splits between two ratings.</source>
        <translation>Eine Hälfte lobt, die andere beschwert sich: Unter „Wie sicher war sich das Modell?“ verteilt sich die Wahrscheinlichkeit auf zwei Bewertungen.</translation>
    </message>
    <message>
        <source>Paraphrase</source>
        <translation>Umschreibung</translation>
    </message>
    <message>
        <source>Different words, same meaning: expect a high similarity.</source>
        <translation>Andere Wörter, gleiche Bedeutung: Zu erwarten ist eine hohe Ähnlichkeit.</translation>
    </message>
    <message>
        <source>One word flips the meaning, yet the vectors often stay close.</source>
        <translation>Ein Wort kehrt die Bedeutung um, und doch liegen die Vektoren oft dicht beieinander.</translation>
    </message>
    <message>
        <source>Same Words, Different Meaning</source>
        <translation>Gleiche Wörter, andere Bedeutung</translation>
    </message>
    <message>
        <source>Every word is shared, but who did what to whom is not.</source>
        <translation>Alle Wörter kommen in beiden vor, aber wer wem was getan hat, nicht.</translation>
    </message>
    <message>
        <source>Unrelated</source>
        <translation>Ohne Bezug</translation>
    </message>
    <message>
        <source>Nothing in common: expect a low similarity.</source>
        <translation>Nichts gemeinsam: Zu erwarten ist eine niedrige Ähnlichkeit.</translation>
    </message>
    <message>
        <source>Translation</source>
        <translation>Übersetzung</translation>
    </message>
    <message>
        <source>The same sentence in English and French: a multilingual model places them close.</source>
        <translation>Derselbe Satz auf Englisch und auf Französisch: Ein mehrsprachiges Modell legt sie dicht beieinander.</translation>
    </message>
    <message>
        <source>Three Topics</source>
        <translation>Drei Themen</translation>
    </message>
    <message>
        <source>Animals, vehicles and food: expect three groups on the map and three bright blocks in the grid.</source>
        <translation>Tiere, Fahrzeuge und Essen: Zu erwarten sind drei Gruppen auf der Karte und drei helle Blöcke im Raster.</translation>
    </message>
    <message>
        <source>Paraphrases and a Negation</source>
        <translation>Umschreibungen und eine Verneinung</translation>
    </message>
    <message>
        <source>Three ways to say one thing, its opposite and two strangers: the negation often lands right beside the paraphrases.</source>
        <translation>Drei Arten, dasselbe zu sagen, dazu das Gegenteil und zwei fremde Sätze: Die Verneinung landet oft direkt neben den Umschreibungen.</translation>
    </message>
    <message>
        <source>One Sentence, Several Languages</source>
        <translation>Ein Satz, mehrere Sprachen</translation>
    </message>
    <message>
        <source>Two sentences, each in four languages: a multilingual model groups them by meaning, others by language.</source>
        <translation>Zwei Sätze, jeder in vier Sprachen: Ein mehrsprachiges Modell gruppiert sie nach Bedeutung, andere Modelle nach Sprache.</translation>
    </message>
</context>
<context>
    <name>GuideWindow</name>
    <message>
        <source>Quillmere Guide</source>
        <translation>Quillmere-Leitfaden</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>Session History</source>
        <translation>Sitzungsverlauf</translation>
    </message>
    <message>
        <source>Every analysis and calculation of this run, from every window. The list is kept only until Quillmere quits; export it to keep it.</source>
        <translation>Jede Analyse und Berechnung dieser Sitzung, aus allen Fenstern. Die Liste bleibt nur erhalten, bis Quillmere beendet wird; exportieren Sie sie, um sie aufzubewahren.</translation>
    </message>
    <message>
        <source>Nothing analyzed yet</source>
        <translation>Noch nichts analysiert</translation>
    </message>
    <message>
        <source>Results from both demos appear here as soon as they come back.</source>
        <translation>Die Ergebnisse beider Demos erscheinen hier, sobald sie vorliegen.</translation>
    </message>
    <message>
        <source>&amp;Use Again</source>
        <translation>&amp;Wiederverwenden</translation>
    </message>
    <message>
        <source>Co&amp;py</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>&amp;Export CSV…</source>
        <translation>CSV &amp;exportieren…</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>Newest first until sorted by a column. Enter uses a row again; Ctrl+C copies the selected rows.</source>
        <translation>Neueste zuerst, bis nach einer Spalte sortiert wird. Die Eingabetaste verwendet eine Zeile wieder; Strg+C kopiert die ausgewählten Zeilen.</translation>
    </message>
    <message>
        <source>Put the selected row&apos;s texts back into its demo</source>
        <translation>Die Texte der ausgewählten Zeile wieder in ihre Demo übernehmen</translation>
    </message>
    <message>
        <source>Copy the selected rows as tab-separated text (Ctrl+C)</source>
        <translation>Die ausgewählten Zeilen als tabulatorgetrennten Text kopieren (Strg+C)</translation>
    </message>
    <message>
        <source>Save the list as a CSV file</source>
        <translation>Die Liste als CSV-Datei speichern</translation>
    </message>
    <message>
        <source>Remove every row</source>
        <translation>Alle Zeilen entfernen</translation>
    </message>
    <message>
        <source>Could not save %1: %2</source>
        <translation>%1 konnte nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <source>Saved 1 row to %1.</source>
        <translation>1 Zeile in %1 gespeichert.</translation>
    </message>
    <message numerus="yes">
        <source>Saved %n rows to %1.</source>
        <translation>
            <numerusform>%n Zeile in %1 gespeichert.</numerusform>
            <numerusform>%n Zeilen in %1 gespeichert.</numerusform>
        </translation>
    </message>
    <message>
        <source>Export History</source>
        <translation>Verlauf exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSV-Dateien (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Gespeichert</translation>
    </message>
    <message>
        <source>Not saved</source>
        <translation>Nicht gespeichert</translation>
    </message>
</context>
<context>
    <name>HttpClient</name>
    <message>
        <source>The server did not answer in time (nothing arrived for %1 seconds).</source>
        <translation>Der Server hat nicht rechtzeitig geantwortet (%1&#xa0;Sekunden lang kam nichts an).</translation>
    </message>
    <message>
        <source>The server did not answer in time (nothing arrived for %1 ms).</source>
        <translation>Der Server hat nicht rechtzeitig geantwortet (%1&#xa0;ms lang kam nichts an).</translation>
    </message>
    <message>
        <source>The server&apos;s reply is larger than %1 and was refused.</source>
        <translation>Die Antwort des Servers ist größer als %1 und wurde abgelehnt.</translation>
    </message>
    <message>
        <source>The server redirected too many times.</source>
        <translation>Der Server hat zu oft weitergeleitet.</translation>
    </message>
    <message>
        <source>The server redirected from a secure address to an insecure one.</source>
        <translation>Der Server hat von einer sicheren Adresse an eine unsichere weitergeleitet.</translation>
    </message>
</context>
<context>
    <name>JsonReading</name>
    <message>
        <source>The server&apos;s reply is not a JSON object or array (its top level is %1).</source>
        <translation>Die Antwort des Servers ist weder ein JSON-Objekt noch ein JSON-Array (ihre oberste Ebene ist %1).</translation>
    </message>
    <message>
        <source>The server&apos;s reply is not valid JSON: %1</source>
        <translation>Die Antwort des Servers ist kein gültiges JSON: %1</translation>
    </message>
    <message>
        <source>The server&apos;s reply could not be read: %1</source>
        <translation>Die Antwort des Servers konnte nicht gelesen werden: %1</translation>
    </message>
</context>
<context>
    <name>LanguageSection</name>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>System default</source>
        <translation>Systemstandard</translation>
    </message>
    <message>
        <source>Windows, menus and explanations change at once. What is sent to the model stays in English, which models read best.</source>
        <translation>Fenster, Menüs und Erklärungen wechseln sofort. Was an das Modell gesendet wird, bleibt auf Englisch, weil Modelle Englisch am besten verstehen.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Quillmere</source>
        <translation>Quillmere</translation>
    </message>
</context>
<context>
    <name>ModelDetailView</name>
    <message>
        <source>Embedding</source>
        <translation>Embedding</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Werkzeuge</translation>
    </message>
    <message>
        <source>Vision</source>
        <translation>Vision</translation>
    </message>
    <message>
        <source>Thinking</source>
        <translation>Denken</translation>
    </message>
    <message>
        <source>Details of %1</source>
        <translation>Details zu %1</translation>
    </message>
    <message>
        <source>Family:</source>
        <translation>Familie:</translation>
    </message>
    <message>
        <source>Parameters:</source>
        <translation>Parameter:</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>Capabilities:</source>
        <translation>Fähigkeiten:</translation>
    </message>
</context>
<context>
    <name>ModelPicker</name>
    <message>
        <source>Select a model...</source>
        <translation>Modell auswählen...</translation>
    </message>
</context>
<context>
    <name>ModelSettingsView</name>
    <message>
        <source>Refresh Models</source>
        <translation>Modelle aktualisieren</translation>
    </message>
    <message>
        <source>Embedding Model</source>
        <translation>Embedding-Modell</translation>
    </message>
    <message>
        <source>Select a model that supports embeddings (text to vector conversion)</source>
        <translation>Wählen Sie ein Modell, das Embeddings unterstützt (Umwandlung von Text in Vektoren)</translation>
    </message>
    <message>
        <source>No embedding models available. Please install an embedding model (e.g., nomic-embed-text, mxbai-embed-large)</source>
        <translation>Keine Embedding-Modelle verfügbar. Bitte installieren Sie ein Embedding-Modell (z.&#xa0;B. nomic-embed-text, mxbai-embed-large)</translation>
    </message>
    <message>
        <source>Language Model (LLM)</source>
        <translation>Sprachmodell (LLM)</translation>
    </message>
    <message>
        <source>Select a text-only language model (without vision or embedding capabilities)</source>
        <translation>Wählen Sie ein reines Text-Sprachmodell (ohne Vision- oder Embedding-Fähigkeiten)</translation>
    </message>
    <message>
        <source>No compatible LLM models available. Please install a text-only model (e.g., llama3.2, mistral, qwen2.5)</source>
        <translation>Keine passenden LLMs verfügbar. Bitte installieren Sie ein reines Textmodell (z.&#xa0;B. llama3.2, mistral, qwen2.5)</translation>
    </message>
    <message>
        <source>LLM Model</source>
        <translation>LLM</translation>
    </message>
    <message>
        <source>Save Selection</source>
        <translation>Auswahl speichern</translation>
    </message>
    <message>
        <source>Stores both chosen models</source>
        <translation>Speichert beide gewählten Modelle</translation>
    </message>
    <message>
        <source>Loading models...</source>
        <translation>Modelle werden geladen...</translation>
    </message>
    <message>
        <source>Models loaded</source>
        <translation>Modelle geladen</translation>
    </message>
    <message>
        <source>Both models configured</source>
        <translation>Beide Modelle eingerichtet</translation>
    </message>
    <message>
        <source>Please select both models to use the app</source>
        <translation>Bitte wählen Sie beide Modelle aus, um die App zu verwenden</translation>
    </message>
    <message>
        <source>Models not loaded</source>
        <translation>Modelle nicht geladen</translation>
    </message>
</context>
<context>
    <name>OllamaService</name>
    <message>
        <source>Failed to fetch models: %1</source>
        <translation>Modelle konnten nicht abgerufen werden: %1</translation>
    </message>
    <message>
        <source>Invalid URL</source>
        <translation>Ungültige URL</translation>
    </message>
</context>
<context>
    <name>OllamaSettingsView</name>
    <message>
        <source>Local (default)</source>
        <translation>Lokal (Standard)</translation>
    </message>
    <message>
        <source>Custom port</source>
        <translation>Eigener Port</translation>
    </message>
    <message>
        <source>Remote server</source>
        <translation>Entfernter Server</translation>
    </message>
    <message>
        <source>Ollama Server URL</source>
        <translation>Ollama-Server-URL</translation>
    </message>
    <message>
        <source>Enter the URL where your Ollama server is running</source>
        <translation>Geben Sie die URL ein, unter der Ihr Ollama-Server läuft</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Puts the default URL into the field</source>
        <translation>Setzt die Standard-URL in das Feld ein</translation>
    </message>
    <message>
        <source>Stores the server URL</source>
        <translation>Speichert die Server-URL</translation>
    </message>
    <message>
        <source>Examples</source>
        <translation>Beispiele</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Settings saved! Restart the app to apply changes.</source>
        <translation>Einstellungen gespeichert! Starten Sie die App neu, um die Änderungen zu übernehmen.</translation>
    </message>
    <message>
        <source>Set by your school&apos;s administrator.</source>
        <translation>Von der Administration Ihrer Schule festgelegt.</translation>
    </message>
</context>
<context>
    <name>PreferenceOptions</name>
    <message>
        <source>Store &lt;url&gt; as the Ollama server&apos;s address (http:// or https://), and exit.</source>
        <translation>&lt;URL&gt; als Adresse des Ollama-Servers speichern (http:// oder https://) und beenden.</translation>
    </message>
    <message>
        <source>url</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>Store &lt;name&gt; as the embedding model of the similarity demo, and exit.</source>
        <translation>&lt;Name&gt; als Embedding-Modell der Ähnlichkeitsdemo speichern und beenden.</translation>
    </message>
    <message>
        <source>name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Store &lt;name&gt; as the language model of the sentiment demo, and exit.</source>
        <translation>&lt;Name&gt; als Sprachmodell der Stimmungsdemo speichern und beenden.</translation>
    </message>
    <message>
        <source>Print the stored server address and model names (key=value lines), and exit. With --set-* options, after storing them.</source>
        <translation>Die gespeicherte Serveradresse und die Modellnamen ausgeben (Zeilen key=value) und beenden. Mit --set-*-Optionen erst nach dem Speichern.</translation>
    </message>
    <message>
        <source>Print what the system-wide settings file sets and locks (key=value lines), and exit.</source>
        <translation>Ausgeben, was die systemweite Einstellungsdatei festlegt und sperrt (Zeilen key=value), und beenden.</translation>
    </message>
    <message>
        <source>quillmere: --%1: set by your school&apos;s administrator in %2
</source>
        <translation>quillmere: --%1: von der Administration Ihrer Schule in %2 festgelegt
</translation>
    </message>
    <message>
        <source>quillmere: --%1: %2
</source>
        <translation>quillmere: --%1: %2
</translation>
    </message>
    <message>
        <source>quillmere: --%1: the model name is empty
</source>
        <translation>quillmere: --%1: der Modellname ist leer
</translation>
    </message>
    <message>
        <source>quillmere: nothing was stored
</source>
        <translation>quillmere: es wurde nichts gespeichert
</translation>
    </message>
    <message>
        <source>quillmere: the preferences could not be saved: %1
</source>
        <translation>quillmere: die Einstellungen konnten nicht gespeichert werden: %1
</translation>
    </message>
</context>
<context>
    <name>ProbabilityBarChart</name>
    <message>
        <source>something else</source>
        <translation>etwas anderes</translation>
    </message>
    <message>
        <source>Rating %1</source>
        <translation>Bewertung %1</translation>
    </message>
    <message>
        <source>Something else</source>
        <translation>Etwas anderes</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>QuillmereApp</name>
    <message>
        <source>&amp;New Window</source>
        <translation>&amp;Neues Fenster</translation>
    </message>
    <message>
        <source>&amp;Close Window</source>
        <translation>Fenster &amp;schließen</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Settings…</source>
        <translation>&amp;Einstellungen…</translation>
    </message>
    <message>
        <source>&amp;About Quillmere</source>
        <translation>&amp;Über Quillmere</translation>
    </message>
    <message>
        <source>&amp;History</source>
        <translation>&amp;Verlauf</translation>
    </message>
    <message>
        <source>Sentence &amp;Map</source>
        <translation>Satz&amp;karte</translation>
    </message>
    <message>
        <source>Quillmere &amp;Guide</source>
        <translation>Quillmere-&amp;Leitfaden</translation>
    </message>
    <message>
        <source>Every analysis and calculation of this run</source>
        <translation>Jede Analyse und Berechnung dieser Sitzung</translation>
    </message>
    <message>
        <source>Many sentences at once, as a grid and a map of meaning</source>
        <translation>Viele Sätze auf einmal, als Raster und als Bedeutungskarte</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>About Quillmere</source>
        <translation>Über Quillmere</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>E&amp;xamples</source>
        <translation>Bei&amp;spiele</translation>
    </message>
    <message>
        <source>Sentence Map</source>
        <translation>Satzkarte</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Zoom &amp;In (%1 %)</source>
        <translation>Ver&amp;größern (%1&#xa0;%)</translation>
    </message>
    <message>
        <source>Zoom &amp;Out (%1 %)</source>
        <translation>Verk&amp;leinern (%1&#xa0;%)</translation>
    </message>
    <message>
        <source>&amp;Actual Size (%1 %)</source>
        <translation>&amp;Originalgröße (%1&#xa0;%)</translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation>Voll&amp;bild</translation>
    </message>
</context>
<context>
    <name>SamplingLab</name>
    <message>
        <source>Rating %1</source>
        <translation>Bewertung %1</translation>
    </message>
    <message>
        <source>Something else with these settings: %1</source>
        <translation>Etwas anderes mit diesen Einstellungen: %1</translation>
    </message>
    <message>
        <source>Rating %1 with these settings: %2</source>
        <translation>Bewertung %1 mit diesen Einstellungen: %2</translation>
    </message>
    <message>
        <source>something else</source>
        <translation>etwas anderes</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>no number</source>
        <translation>keine Zahl</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>No number</source>
        <translation>Keine Zahl</translation>
    </message>
    <message>
        <source>%1 of %2 answers had no number; the odds said %3.</source>
        <translation>%1 von %2 Antworten enthielten keine Zahl; die Chancen lagen bei %3.</translation>
    </message>
    <message>
        <source>%1 of %2 answers were %3; the odds said %4.</source>
        <translation>%1 von %2 Antworten waren eine %3; die Chancen lagen bei %4.</translation>
    </message>
    <message>
        <source>%1 ×%2</source>
        <translation>%1 ×%2</translation>
    </message>
    <message>
        <source>How does the model pick one answer?</source>
        <translation>Wie wählt das Modell eine Antwort aus?</translation>
    </message>
    <message>
        <source>The server draws the answer from these odds after its sampling settings reshape them. Move the settings to see how; then ask the model several times to see the draws follow the odds.</source>
        <translation>Der Server zieht die Antwort nach diesen Chancen, nachdem seine Sampling-Einstellungen sie umgeformt haben. Verändern Sie die Einstellungen, um zu sehen, wie; fragen Sie dann das Modell mehrmals, um zu sehen, wie die Ziehungen den Chancen folgen.</translation>
    </message>
    <message>
        <source>The odds with these settings</source>
        <translation>Die Chancen mit diesen Einstellungen</translation>
    </message>
    <message>
        <source>A temperature near 0 gives the top candidate all the odds: the model always answers the same. A high one flattens the odds, so less likely ratings come up more often.</source>
        <translation>Eine Temperatur nahe 0 gibt dem besten Kandidaten alle Chancen: Das Modell antwortet immer gleich. Eine hohe Temperatur ebnet die Chancen ein, sodass weniger wahrscheinliche Bewertungen häufiger vorkommen.</translation>
    </message>
    <message>
        <source>Ask the model many times</source>
        <translation>Das Modell mehrmals fragen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Thick bars: the answers. Thin bars: the odds with the settings the run used.</source>
        <translation>Dicke Balken: die Antworten. Dünne Balken: die Chancen mit den Einstellungen, die der Durchlauf verwendet hat.</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatur</translation>
    </message>
    <message>
        <source>Low sharpens the odds toward the top candidate; high flattens them.</source>
        <translation>Niedrig schärft die Chancen zum besten Kandidaten hin; hoch ebnet sie ein.</translation>
    </message>
    <message>
        <source>Top-k</source>
        <translation>Top-k</translation>
    </message>
    <message>
        <source>Only the k most likely candidates may be drawn; Off keeps them all.</source>
        <translation>Nur die k wahrscheinlichsten Kandidaten können gezogen werden; „Aus“ behält alle.</translation>
    </message>
    <message>
        <source>Top-p</source>
        <translation>Top-p</translation>
    </message>
    <message>
        <source>Only the most likely candidates whose shares add up to p may be drawn.</source>
        <translation>Nur die wahrscheinlichsten Kandidaten, deren Anteile zusammen p ergeben, können gezogen werden.</translation>
    </message>
    <message>
        <source>Probability of each rating with these settings</source>
        <translation>Wahrscheinlichkeit jeder Bewertung mit diesen Einstellungen</translation>
    </message>
    <message>
        <source>Answers the model gave</source>
        <translation>Antworten des Modells</translation>
    </message>
    <message>
        <source>Number of requests</source>
        <translation>Anzahl der Anfragen</translation>
    </message>
    <message numerus="yes">
        <source>%n times</source>
        <translation>
            <numerusform>einmal</numerusform>
            <numerusform>%n-mal</numerusform>
        </translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message numerus="yes">
        <source>Asked %n times with %1: %2</source>
        <translation>
            <numerusform>Einmal gefragt mit %1: %2</numerusform>
            <numerusform>%n-mal gefragt mit %1: %2</numerusform>
        </translation>
    </message>
    <message>
        <source>Left out: the %1 of probability on tokens the server did not list; the settings can only reshape the candidates it listed.</source>
        <translation>Nicht berücksichtigt: %1 der Wahrscheinlichkeit entfällt auf Tokens, die der Server nicht aufgelistet hat; die Einstellungen können nur die aufgelisteten Kandidaten umformen.</translation>
    </message>
    <message numerus="yes">
        <source>Ask %n Times</source>
        <translation>
            <numerusform>Einmal fragen</numerusform>
            <numerusform>%n-mal fragen</numerusform>
        </translation>
    </message>
    <message>
        <source>Stopped at %1</source>
        <translation>Angehalten bei %1</translation>
    </message>
</context>
<context>
    <name>SamplingRun</name>
    <message>
        <source>Error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
</context>
<context>
    <name>SamplingText</name>
    <message>
        <source>off</source>
        <translation>aus</translation>
    </message>
    <message>
        <source>temperature %1, top-k %2, top-p %3</source>
        <translation>Temperatur %1, Top-k %2, Top-p %3</translation>
    </message>
    <message>
        <source>temperature</source>
        <translation>Temperatur</translation>
    </message>
    <message>
        <source>top-k</source>
        <translation>Top-k</translation>
    </message>
    <message>
        <source>top-p</source>
        <translation>Top-p</translation>
    </message>
    <message>
        <source>Starting from the model&apos;s own settings: %1.</source>
        <translation>Ausgehend von den eigenen Einstellungen des Modells: %1.</translation>
    </message>
    <message>
        <source>Starting from the server&apos;s defaults (%1): the model lists no settings of its own.</source>
        <translation>Ausgehend von den Standardwerten des Servers (%1): Das Modell nennt keine eigenen Einstellungen.</translation>
    </message>
    <message>
        <source>Starting from the model&apos;s own %1 and the server&apos;s default %2: %3.</source>
        <translation>Ausgehend von den eigenen Werten des Modells für %1 und den Standardwerten des Servers für %2: %3.</translation>
    </message>
    <message>
        <source> and </source>
        <translation> und </translation>
    </message>
    <message>
        <source>A top-k of %1 keeps every listed candidate, the same as off.</source>
        <translation>Ein Top-k von %1 behält jeden aufgelisteten Kandidaten, genau wie „Aus“.</translation>
    </message>
    <message>
        <source>No candidate that these settings keep is a rating, so no answer drawn with them would be a number.</source>
        <translation>Keiner der Kandidaten, die diese Einstellungen behalten, ist eine Bewertung, daher wäre keine damit gezogene Antwort eine Zahl.</translation>
    </message>
    <message>
        <source>Top-k %1 keeps the %2 most likely of the %3 listed candidates</source>
        <translation>Top-k %1 behält die %2 wahrscheinlichsten der %3 aufgelisteten Kandidaten</translation>
    </message>
    <message>
        <source>Top-k is off, so all %1 listed candidates stay</source>
        <translation>Top-k ist aus, daher bleiben alle %1 aufgelisteten Kandidaten</translation>
    </message>
    <message>
        <source>top-p %1 then keeps the %2 most likely whose shares reach %1</source>
        <translation>Top-p %1 behält davon die %2 wahrscheinlichsten, deren Anteile %1 erreichen</translation>
    </message>
    <message>
        <source>Each kept candidate weighs exp(log-probability ÷ %1). Rating %2 (%3) weighs %4 of %5 in all, so its share is %4 ÷ %5 = %6.</source>
        <translation>Jeder behaltene Kandidat wiegt exp(Log-Wahrscheinlichkeit ÷ %1). Bewertung %2 (%3) wiegt %4 von insgesamt %5, ihr Anteil ist also %4 ÷ %5 = %6.</translation>
    </message>
    <message>
        <source>%1; %2. %3</source>
        <translation>%1; %2. %3</translation>
    </message>
</context>
<context>
    <name>SentenceEmbeddings</name>
    <message>
        <source>The server&apos;s reply is not valid JSON: %1</source>
        <translation>Die Antwort des Servers ist kein gültiges JSON: %1</translation>
    </message>
    <message>
        <source>The server&apos;s reply is not a JSON object or array (its top level is %1).</source>
        <translation>Die Antwort des Servers ist weder ein JSON-Objekt noch ein JSON-Array (ihre oberste Ebene ist %1).</translation>
    </message>
    <message>
        <source>The server said: %1</source>
        <translation>Der Server meldete: %1</translation>
    </message>
    <message>
        <source>The server sent %1 vectors for %2 sentences.</source>
        <translation>Der Server hat %1 Vektoren für %2 Sätze gesendet.</translation>
    </message>
    <message>
        <source>The vector of sentence %1 is empty.</source>
        <translation>Der Vektor von Satz %1 ist leer.</translation>
    </message>
    <message>
        <source>The vectors differ in length (%1 for sentence 1, %2 for sentence %3).</source>
        <translation>Die Vektoren sind unterschiedlich lang (%1 für Satz 1, %2 für Satz %3).</translation>
    </message>
    <message>
        <source>The vector of sentence %1 holds a value that is not a finite 32-bit number.</source>
        <translation>Der Vektor von Satz %1 enthält einen Wert, der keine endliche 32-Bit-Zahl ist.</translation>
    </message>
</context>
<context>
    <name>SentenceMap</name>
    <message>
        <source>%1 is closest to %2, %3</source>
        <translation>%1 liegt %2 am nächsten, %3</translation>
    </message>
    <message>
        <source>These sentences&apos; vectors do not spread out at all, so every point sits in the middle.</source>
        <translation>Die Vektoren dieser Sätze streuen überhaupt nicht, daher liegt jeder Punkt in der Mitte.</translation>
    </message>
    <message>
        <source>These two directions hold %1 % of the spread.</source>
        <translation>Diese beiden Richtungen erfassen %1&#xa0;% der Streuung.</translation>
    </message>
</context>
<context>
    <name>SentenceMapPlot</name>
    <message>
        <source>Map of meaning</source>
        <translation>Bedeutungskarte</translation>
    </message>
    <message>
        <source>Direction 1 → (%1 of the spread)</source>
        <translation>Richtung 1 → (%1 der Streuung)</translation>
    </message>
    <message>
        <source>Direction 2 → (%1 of the spread)</source>
        <translation>Richtung 2 → (%1 der Streuung)</translation>
    </message>
    <message>
        <source>Point at a dot, or Tab to it, to read its whole sentence.</source>
        <translation>Zeigen Sie auf einen Punkt oder springen Sie mit der Tabulatortaste dorthin, um seinen ganzen Satz zu lesen.</translation>
    </message>
</context>
<context>
    <name>SentenceMapWindow</name>
    <message>
        <source>Sentence Map</source>
        <translation>Satzkarte</translation>
    </message>
    <message numerus="yes">
        <source>%n sentences</source>
        <translation>
            <numerusform>%n Satz</numerusform>
            <numerusform>%n Sätze</numerusform>
        </translation>
    </message>
    <message>
        <source>%1, closest %2 and %3 at %4</source>
        <translation>%1, am ähnlichsten %2 und %3 mit %4</translation>
    </message>
    <message>
        <source>Type 3 to 16 sentences, one per line. The embedding model turns each into a vector; the grid compares every pair, and the map lays the vectors out flat, so that sentences with similar meanings sit close together.</source>
        <translation>Geben Sie 3 bis 16 Sätze ein, einen pro Zeile. Das Embedding-Modell macht aus jedem Satz einen Vektor; das Raster vergleicht jedes Paar, und die Karte legt die Vektoren flach aus, sodass Sätze mit ähnlicher Bedeutung nah beieinander liegen.</translation>
    </message>
    <message>
        <source>The offline stand-in serves these vectors: it knows English words and their kinds, not sentences, other languages or negation.</source>
        <translation>Der Offline-Ersatzserver liefert diese Vektoren: Er kennt englische Wörter und ihre Wortarten, aber keine Sätze, keine anderen Sprachen und keine Verneinung.</translation>
    </message>
    <message>
        <source>The grid of similarities and the map of meaning appear here once the sentences are mapped.</source>
        <translation>Das Ähnlichkeitsraster und die Bedeutungskarte erscheinen hier, sobald die Sätze kartiert sind.</translation>
    </message>
    <message>
        <source>Bright cells are pairs with close meanings. Look for bright blocks away from the diagonal: groups of sentences about the same thing. The diagonal is each sentence against itself.</source>
        <translation>Helle Zellen sind Paare mit ähnlicher Bedeutung. Achten Sie auf helle Blöcke abseits der Diagonale: Gruppen von Sätzen über dasselbe Thema. Die Diagonale zeigt jeden Satz im Vergleich mit sich selbst.</translation>
    </message>
    <message>
        <source>Look for clusters: sentences about the same thing gather, and the gaps between groups are what the model tells apart. Two directions cannot hold everything, so distances are only roughly right.</source>
        <translation>Achten Sie auf Häufungen: Sätze über dasselbe Thema sammeln sich, und die Lücken zwischen den Gruppen zeigen, was das Modell unterscheidet. Zwei Richtungen können nicht alles erfassen, daher stimmen die Abstände nur ungefähr.</translation>
    </message>
    <message>
        <source>Export Matrix CSV…</source>
        <translation>Matrix als CSV exportieren…</translation>
    </message>
    <message>
        <source>Export Map PNG…</source>
        <translation>Karte als PNG exportieren…</translation>
    </message>
    <message>
        <source>Sentences, one per line</source>
        <translation>Sätze, einer pro Zeile</translation>
    </message>
    <message>
        <source>The cat sat on the mat.
A dog slept by the fire.
The train leaves at seven.</source>
        <translation>Die Katze saß auf der Matte.
Ein Hund schlief am Feuer.
Der Zug fährt um sieben ab.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>No embedding model selected</source>
        <translation>Kein Embedding-Modell ausgewählt</translation>
    </message>
    <message>
        <source>Please select an embedding model in Settings to map sentences.</source>
        <translation>Bitte wählen Sie in den Einstellungen ein Embedding-Modell aus, um Sätze zu kartieren.</translation>
    </message>
    <message>
        <source>Map of Meaning</source>
        <translation>Bedeutungskarte</translation>
    </message>
    <message>
        <source>Sentences</source>
        <translation>Sätze</translation>
    </message>
    <message>
        <source>Nearest Neighbours</source>
        <translation>Nächste Nachbarn</translation>
    </message>
    <message>
        <source>Nearest neighbours</source>
        <translation>Nächste Nachbarn</translation>
    </message>
    <message>
        <source>Save the grid of similarities as a CSV file</source>
        <translation>Das Ähnlichkeitsraster als CSV-Datei speichern</translation>
    </message>
    <message>
        <source>Save the map as a PNG picture</source>
        <translation>Die Karte als PNG-Bild speichern</translation>
    </message>
    <message>
        <source>Similarity Matrix</source>
        <translation>Ähnlichkeitsmatrix</translation>
    </message>
    <message>
        <source>Similarity matrix</source>
        <translation>Ähnlichkeitsmatrix</translation>
    </message>
    <message>
        <source>Please select an embedding model in Settings</source>
        <translation>Bitte wählen Sie in den Einstellungen ein Embedding-Modell aus</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1 and %2: %3
%1: %4
%2: %5</source>
        <translation>%1 und %2: %3
%1: %4
%2: %5</translation>
    </message>
    <message>
        <source>Sentence %1, &quot;%2&quot;, and sentence %3, &quot;%4&quot;: %5</source>
        <translation>Satz %1, „%2“, und Satz %3, „%4“: %5</translation>
    </message>
    <message>
        <source>Nothing to save yet: map some sentences first.</source>
        <translation>Noch nichts zu speichern: Kartieren Sie zuerst einige Sätze.</translation>
    </message>
    <message>
        <source>Could not save %1: %2</source>
        <translation>%1 konnte nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <source>Saved the matrix to %1.</source>
        <translation>Die Matrix wurde in %1 gespeichert.</translation>
    </message>
    <message>
        <source>Could not save %1: the picture could not be made.</source>
        <translation>%1 konnte nicht gespeichert werden: Das Bild ließ sich nicht erstellen.</translation>
    </message>
    <message>
        <source>Saved the map to %1.</source>
        <translation>Die Karte wurde in %1 gespeichert.</translation>
    </message>
    <message>
        <source>Export Matrix</source>
        <translation>Matrix exportieren</translation>
    </message>
    <message>
        <source>Export Map</source>
        <translation>Karte exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSV-Dateien (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>PNG pictures (*.png);;All files (*)</source>
        <translation>PNG-Bilder (*.png);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Type 3 to 16 sentences, one per line; blank lines are skipped.</source>
        <translation>Geben Sie 3 bis 16 Sätze ein, einen pro Zeile; leere Zeilen werden übersprungen.</translation>
    </message>
    <message numerus="yes">
        <source>%n of at least 3 sentences.</source>
        <translation>
            <numerusform>%n von mindestens 3 Sätzen.</numerusform>
            <numerusform>%n von mindestens 3 Sätzen.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n sentences: one map holds at most 16, so remove %1.</source>
        <translation>
            <numerusform>%n Satz: Eine Karte fasst höchstens 16, entfernen Sie also %1.</numerusform>
            <numerusform>%n Sätze: Eine Karte fasst höchstens 16, entfernen Sie also %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n sentences.</source>
        <translation>
            <numerusform>%n Satz.</numerusform>
            <numerusform>%n Sätze.</numerusform>
        </translation>
    </message>
    <message>
        <source>Mapping...</source>
        <translation>Wird kartiert...</translation>
    </message>
    <message>
        <source>Map Sentences</source>
        <translation>Sätze kartieren</translation>
    </message>
    <message>
        <source>%1  %2</source>
        <translation>%1  %2</translation>
    </message>
    <message>
        <source>Nearest neighbours: %1</source>
        <translation>Nächste Nachbarn: %1</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Gespeichert</translation>
    </message>
    <message>
        <source>Not saved</source>
        <translation>Nicht gespeichert</translation>
    </message>
</context>
<context>
    <name>SentenceSimilarityView</name>
    <message>
        <source>Sentence Similarity Demo</source>
        <translation>Demo zur Satzähnlichkeit</translation>
    </message>
    <message>
        <source>This demo uses embeddings to measure how similar two sentences are. Embeddings convert text into numerical vectors, and cosine similarity measures the angle between these vectors (0% = completely different, 100% = identical).</source>
        <translation>Diese Demo misst mit Embeddings, wie ähnlich sich zwei Sätze sind. Embeddings wandeln Text in Zahlenvektoren um, und die Kosinus-Ähnlichkeit misst den Winkel zwischen diesen Vektoren (0&#xa0;% = völlig verschieden, 100&#xa0;% = identisch).</translation>
    </message>
    <message>
        <source>Calculate Similarity</source>
        <translation>Ähnlichkeit berechnen</translation>
    </message>
    <message>
        <source>Calculating...</source>
        <translation>Wird berechnet...</translation>
    </message>
    <message>
        <source>Similarity Score:</source>
        <translation>Ähnlichkeitswert:</translation>
    </message>
    <message>
        <source>Shows both vectors and each step from them to the percentage</source>
        <translation>Zeigt beide Vektoren und jeden Schritt von ihnen bis zum Prozentwert</translation>
    </message>
    <message>
        <source>No embedding model selected</source>
        <translation>Kein Embedding-Modell ausgewählt</translation>
    </message>
    <message>
        <source>Please select an embedding model in Settings to use this demo.</source>
        <translation>Bitte wählen Sie in den Einstellungen ein Embedding-Modell aus, um diese Demo zu verwenden.</translation>
    </message>
    <message>
        <source>First Sentence:</source>
        <translation>Erster Satz:</translation>
    </message>
    <message>
        <source>Example: &quot;The cat sat on the mat&quot;</source>
        <translation>Beispiel: „Die Katze saß auf der Matte“</translation>
    </message>
    <message>
        <source>Second Sentence:</source>
        <translation>Zweiter Satz:</translation>
    </message>
    <message>
        <source>Example: &quot;A feline rested on the rug&quot;</source>
        <translation>Beispiel: „Ein Kätzchen ruhte auf dem Teppich“</translation>
    </message>
    <message>
        <source>Compare more sentences in the Sentence Map…</source>
        <translation>Weitere Sätze in der Satzkarte vergleichen…</translation>
    </message>
    <message>
        <source>Please select an embedding model in Settings</source>
        <translation>Bitte wählen Sie in den Einstellungen ein Embedding-Modell aus</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
    <message>
        <source>Similarity %1</source>
        <translation>Ähnlichkeit: %1</translation>
    </message>
</context>
<context>
    <name>SentimentAnalysisView</name>
    <message>
        <source>Sentiment Analysis Demo</source>
        <translation>Demo zur Stimmungsanalyse</translation>
    </message>
    <message>
        <source>This demo uses a language model to analyze the sentiment of text. Enter any text below and click &apos;Analyze&apos; to determine if it&apos;s positive, negative, or neutral.</source>
        <translation>Diese Demo bestimmt mit einem Sprachmodell die Stimmung eines Textes. Geben Sie unten einen beliebigen Text ein und klicken Sie auf „Stimmung analysieren“, um festzustellen, ob er positiv, negativ oder neutral ist.</translation>
    </message>
    <message>
        <source>Analyze Sentiment</source>
        <translation>Stimmung analysieren</translation>
    </message>
    <message>
        <source>Analyzing...</source>
        <translation>Wird analysiert...</translation>
    </message>
    <message>
        <source>Sentiment Analysis:</source>
        <translation>Stimmungsanalyse:</translation>
    </message>
    <message>
        <source>Shows the prompt, the model&apos;s answer and how the score was read from it</source>
        <translation>Zeigt den Prompt, die Antwort des Modells und wie der Wert daraus gelesen wurde</translation>
    </message>
    <message>
        <source>No LLM model selected</source>
        <translation>Kein LLM ausgewählt</translation>
    </message>
    <message>
        <source>Please select a language model in Settings to use this demo.</source>
        <translation>Bitte wählen Sie in den Einstellungen ein Sprachmodell aus, um diese Demo zu verwenden.</translation>
    </message>
    <message>
        <source>Tell me about your recent vacations:</source>
        <translation>Erzählen Sie von Ihrem letzten Urlaub:</translation>
    </message>
    <message>
        <source>Example: &quot;I love this beautiful sunny day!&quot;</source>
        <translation>Beispiel: „Ich liebe diesen schönen sonnigen Tag!“</translation>
    </message>
    <message>
        <source>Star %1</source>
        <translation>Stern %1</translation>
    </message>
    <message>
        <source>Please select an LLM model in Settings</source>
        <translation>Bitte wählen Sie in den Einstellungen ein LLM aus</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
    <message>
        <source>%1 of 5 stars, %2</source>
        <translation>%1 von 5 Sternen, %2</translation>
    </message>
</context>
<context>
    <name>SentimentDetailsPanel</name>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Prompt sent to the model</source>
        <translation>An das Modell gesendeter Prompt</translation>
    </message>
    <message>
        <source>Your text is highlighted; everything around it is the same for every analysis.</source>
        <translation>Ihr Text ist hervorgehoben; alles darum herum ist bei jeder Analyse gleich.</translation>
    </message>
    <message>
        <source>The model&apos;s reasoning</source>
        <translation>Die Überlegungen des Modells</translation>
    </message>
    <message>
        <source>The model reasoned before it answered; writing that reasoning is why a thinking model takes longer.</source>
        <translation>Das Modell hat überlegt, bevor es antwortete; diese Überlegungen aufzuschreiben ist der Grund, warum ein denkendes Modell länger braucht.</translation>
    </message>
    <message>
        <source>The model&apos;s answer, exactly as received</source>
        <translation>Die Antwort des Modells, genau wie empfangen</translation>
    </message>
    <message>
        <source>Reading the answer</source>
        <translation>Auslesen der Antwort</translation>
    </message>
    <message>
        <source>1. First line, trimmed</source>
        <translation>1. Erste Zeile, ohne Leerraum an den Enden</translation>
    </message>
    <message>
        <source>2. Stripped of . ! ? , &quot; &apos; and spaces at both ends</source>
        <translation>2. Ohne . ! ? , &quot; &apos; und Leerzeichen an beiden Enden</translation>
    </message>
    <message>
        <source>3. Score</source>
        <translation>3. Wert</translation>
    </message>
    <message>
        <source>Server timing</source>
        <translation>Zeiten des Servers</translation>
    </message>
    <message>
        <source>How the score was computed</source>
        <translation>Wie der Wert berechnet wurde</translation>
    </message>
    <message>
        <source>(empty answer)</source>
        <translation>(leere Antwort)</translation>
    </message>
    <message>
        <source>(empty)</source>
        <translation>(leer)</translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>%1 The prompt stays in English, which models read best.</source>
        <translation>%1 Der Prompt bleibt auf Englisch, weil Modelle Englisch am besten verstehen.</translation>
    </message>
</context>
<context>
    <name>SentimentReadingText</name>
    <message>
        <source>read as %1</source>
        <translation>gelesen als %1</translation>
    </message>
    <message>
        <source>nothing is left to read, so the neutral fallback %1 was used</source>
        <translation>nichts mehr zu lesen, daher wurde der neutrale Ersatzwert %1 verwendet</translation>
    </message>
    <message>
        <source>not a whole number from 1 to 5, so the neutral fallback %1 was used</source>
        <translation>keine ganze Zahl von 1 bis 5, daher wurde der neutrale Ersatzwert %1 verwendet</translation>
    </message>
    <message>
        <source>%1 ns</source>
        <translation>%1&#xa0;ns</translation>
    </message>
    <message>
        <source>%1 µs</source>
        <translation>%1&#xa0;µs</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%1&#xa0;ms</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1&#xa0;s</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1&#xa0;min %2&#xa0;s</translation>
    </message>
    <message>
        <source>total %1</source>
        <translation>insgesamt %1</translation>
    </message>
    <message>
        <source>model load %1</source>
        <translation>Laden des Modells %1</translation>
    </message>
    <message>
        <source>1 token generated</source>
        <translation>1 Token erzeugt</translation>
    </message>
    <message numerus="yes">
        <source>%n tokens generated</source>
        <translation>
            <numerusform>%n Token erzeugt</numerusform>
            <numerusform>%n Tokens erzeugt</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SentimentScore</name>
    <message>
        <source>Very Negative</source>
        <translation>Sehr negativ</translation>
    </message>
    <message>
        <source>Negative</source>
        <translation>Negativ</translation>
    </message>
    <message>
        <source>Neutral</source>
        <translation>Neutral</translation>
    </message>
    <message>
        <source>Positive</source>
        <translation>Positiv</translation>
    </message>
    <message>
        <source>Very Positive</source>
        <translation>Sehr positiv</translation>
    </message>
    <message>
        <source>This text expresses strong negative emotions or opinions.</source>
        <translation>Dieser Text drückt stark negative Gefühle oder Meinungen aus.</translation>
    </message>
    <message>
        <source>This text leans toward negative sentiment.</source>
        <translation>Dieser Text neigt zu einer negativen Stimmung.</translation>
    </message>
    <message>
        <source>This text is neutral, with balanced or factual tone.</source>
        <translation>Dieser Text ist neutral, mit ausgewogenem oder sachlichem Ton.</translation>
    </message>
    <message>
        <source>This text leans toward positive sentiment.</source>
        <translation>Dieser Text neigt zu einer positiven Stimmung.</translation>
    </message>
    <message>
        <source>This text expresses strong positive emotions or opinions.</source>
        <translation>Dieser Text drückt stark positive Gefühle oder Meinungen aus.</translation>
    </message>
</context>
<context>
    <name>ServerEndpoint</name>
    <message>
        <source>URL must start with http:// or https://</source>
        <translation>Die URL muss mit http:// oder https:// beginnen</translation>
    </message>
    <message>
        <source>Invalid URL format</source>
        <translation>Ungültiges URL-Format</translation>
    </message>
</context>
<context>
    <name>SessionHistory</name>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Demo</source>
        <translation>Demo</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Second Text</source>
        <translation>Zweiter Text</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>Sentiment Analysis</source>
        <translation>Stimmungsanalyse</translation>
    </message>
    <message>
        <source>Sentence Similarity</source>
        <translation>Satzähnlichkeit</translation>
    </message>
    <message>
        <source>Sentence Map</source>
        <translation>Satzkarte</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Models for both demos</source>
        <translation>Modelle für beide Demos</translation>
    </message>
    <message>
        <source>Server URL and language</source>
        <translation>Server-URL und Sprache</translation>
    </message>
</context>
<context>
    <name>SimilarityDetailsPanel</name>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>The two vectors</source>
        <translation>Die beiden Vektoren</translation>
    </message>
    <message>
        <source>First sentence, a</source>
        <translation>Erster Satz, a</translation>
    </message>
    <message>
        <source>Second sentence, b</source>
        <translation>Zweiter Satz, b</translation>
    </message>
    <message>
        <source>The arithmetic</source>
        <translation>Die Rechnung</translation>
    </message>
    <message>
        <source>Length of a, ‖a‖</source>
        <translation>Länge von a, ‖a‖</translation>
    </message>
    <message>
        <source>Length of b, ‖b‖</source>
        <translation>Länge von b, ‖b‖</translation>
    </message>
    <message>
        <source>Dot product, a · b</source>
        <translation>Skalarprodukt, a · b</translation>
    </message>
    <message>
        <source>Cosine, a · b ÷ (‖a‖ × ‖b‖)</source>
        <translation>Kosinus, a · b ÷ (‖a‖ × ‖b‖)</translation>
    </message>
    <message>
        <source>Kept within 0 to 1</source>
        <translation>Begrenzt auf 0 bis 1</translation>
    </message>
    <message>
        <source>Percentage, cut off (picks the description)</source>
        <translation>Prozentwert, abgeschnitten (wählt die Beschreibung)</translation>
    </message>
    <message>
        <source>Percentage, rounded (shown on the gauge)</source>
        <translation>Prozentwert, gerundet (steht auf der Anzeige)</translation>
    </message>
    <message>
        <source>How the similarity was computed</source>
        <translation>Wie die Ähnlichkeit berechnet wurde</translation>
    </message>
    <message>
        <source>%1, leading components</source>
        <translation>%1, erste Komponenten</translation>
    </message>
    <message>
        <source>not taken</source>
        <translation>nicht berechnet</translation>
    </message>
</context>
<context>
    <name>SimilarityLegend</name>
    <message>
        <source>Colour scale</source>
        <translation>Farbskala</translation>
    </message>
    <message>
        <source>From dark violet for 0 % or less, through teal, to yellow for 100 %</source>
        <translation>Von Dunkelviolett für 0&#xa0;% oder weniger über Türkis bis Gelb für 100&#xa0;%</translation>
    </message>
</context>
<context>
    <name>SimilarityMath</name>
    <message>
        <source>These sentences are nearly identical in meaning.</source>
        <translation>Diese Sätze haben nahezu dieselbe Bedeutung.</translation>
    </message>
    <message>
        <source>These sentences are quite similar.</source>
        <translation>Diese Sätze sind recht ähnlich.</translation>
    </message>
    <message>
        <source>These sentences have moderate similarity.</source>
        <translation>Diese Sätze sind mäßig ähnlich.</translation>
    </message>
    <message>
        <source>These sentences have some similarity.</source>
        <translation>Diese Sätze haben eine gewisse Ähnlichkeit.</translation>
    </message>
    <message>
        <source>These sentences are quite different.</source>
        <translation>Diese Sätze sind recht verschieden.</translation>
    </message>
</context>
<context>
    <name>SimilarityReadingText</name>
    <message>
        <source>(empty)</source>
        <translation>(leer)</translation>
    </message>
    <message>
        <source>1 dimension</source>
        <translation>1 Dimension</translation>
    </message>
    <message numerus="yes">
        <source>%n dimensions</source>
        <translation>
            <numerusform>%n Dimension</numerusform>
            <numerusform>%n Dimensionen</numerusform>
        </translation>
    </message>
    <message>
        <source>The description cuts the hundredfold value %1 off at the whole number and the gauge rounds it to the nearest; here both give %2, but they can differ by one.</source>
        <translation>Die Beschreibung schneidet den hundertfachen Wert %1 bei der ganzen Zahl ab, die Anzeige rundet ihn auf die nächste ganze Zahl; hier ergeben beide %2, sie können sich aber um eins unterscheiden.</translation>
    </message>
    <message>
        <source>The description cuts the hundredfold value %1 off at %2, while the gauge rounds it to %3, so the two differ by one.</source>
        <translation>Die Beschreibung schneidet den hundertfachen Wert %1 bei %2 ab, die Anzeige rundet ihn dagegen auf %3, daher unterscheiden sich beide um eins.</translation>
    </message>
    <message>
        <source>The vectors have different lengths (%1 and %2), so they cannot be compared and the cosine is taken as 0.</source>
        <translation>Die Vektoren sind unterschiedlich lang (%1 und %2), daher lassen sie sich nicht vergleichen, und der Kosinus wird als 0 angenommen.</translation>
    </message>
    <message>
        <source>A vector with norm 0 has no direction, so no angle can be measured and the cosine is taken as 0.</source>
        <translation>Ein Vektor mit der Norm 0 hat keine Richtung, daher lässt sich kein Winkel messen, und der Kosinus wird als 0 angenommen.</translation>
    </message>
</context>
<context>
    <name>TokenProbabilitiesSection</name>
    <message>
        <source>How sure was the model?</source>
        <translation>Wie sicher war sich das Modell?</translation>
    </message>
    <message>
        <source>A language model gives every possible next token a probability and then draws one. This asks the model the same question once more and shows the odds it gave each rating.</source>
        <translation>Ein Sprachmodell gibt jedem möglichen nächsten Token eine Wahrscheinlichkeit und zieht dann eines. Hier wird dem Modell dieselbe Frage noch einmal gestellt, und die Chancen, die es jeder Bewertung gab, werden angezeigt.</translation>
    </message>
    <message>
        <source>Show the model&apos;s probabilities</source>
        <translation>Wahrscheinlichkeiten des Modells anzeigen</translation>
    </message>
    <message>
        <source>Candidates for the first token, as the server sent them</source>
        <translation>Kandidaten für das erste Token, wie der Server sie gesendet hat</translation>
    </message>
    <message>
        <source>Probability of each rating</source>
        <translation>Wahrscheinlichkeit jeder Bewertung</translation>
    </message>
    <message>
        <source>Candidates for the first token</source>
        <translation>Kandidaten für das erste Token</translation>
    </message>
    <message>
        <source>Token</source>
        <translation>Token</translation>
    </message>
    <message>
        <source>Log-probability</source>
        <translation>Log-Wahrscheinlichkeit</translation>
    </message>
    <message>
        <source>Probability</source>
        <translation>Wahrscheinlichkeit</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
    <message>
        <source>Asking the model…</source>
        <translation>Das Modell wird gefragt…</translation>
    </message>
    <message>
        <source>The model&apos;s answer began with the token “%1”.</source>
        <translation>Die Antwort des Modells begann mit dem Token „%1“.</translation>
    </message>
    <message>
        <source>Expected rating, an average among the ratings only (each weighted by its probability): %1</source>
        <translation>Erwartete Bewertung, ein Mittelwert nur über die Bewertungen (jede gewichtet mit ihrer Wahrscheinlichkeit): %1</translation>
    </message>
    <message>
        <source>Expected rating: none, no candidate is a rating.</source>
        <translation>Erwartete Bewertung: keine, denn kein Kandidat ist eine Bewertung.</translation>
    </message>
</context>
<context>
    <name>TokenProbabilityText</name>
    <message>
        <source>This server does not send token probabilities. Newer Ollama versions do: update the server to see them.</source>
        <translation>Dieser Server sendet keine Token-Wahrscheinlichkeiten. Neuere Ollama-Versionen tun das: Aktualisieren Sie den Server, um sie zu sehen.</translation>
    </message>
    <message>
        <source>The server sent token probabilities, but for no token other than white space, so there is nothing to show.</source>
        <translation>Der Server hat Token-Wahrscheinlichkeiten gesendet, aber für kein Token außer Leerraum, daher gibt es nichts anzuzeigen.</translation>
    </message>
    <message>
        <source>The server sent no candidates for the model&apos;s first token, so there is nothing to show.</source>
        <translation>Der Server hat keine Kandidaten für das erste Token des Modells gesendet, daher gibt es nichts anzuzeigen.</translation>
    </message>
    <message>
        <source>The server sent a log-probability that is not a finite number of zero or less, so the probabilities cannot be shown.</source>
        <translation>Der Server hat eine Log-Wahrscheinlichkeit gesendet, die keine endliche Zahl kleiner oder gleich null ist, daher können die Wahrscheinlichkeiten nicht angezeigt werden.</translation>
    </message>
    <message>
        <source>The server sent a token probability entry without its token, so the reply is unusable.</source>
        <translation>Der Server hat einen Eintrag für eine Token-Wahrscheinlichkeit ohne dessen Token gesendet, daher ist die Antwort unbrauchbar.</translation>
    </message>
    <message>
        <source>The server&apos;s candidates add up to far more than 100 %, which no set of probabilities does, so the reply is unusable.</source>
        <translation>Die Kandidaten des Servers ergeben zusammen weit mehr als 100&#xa0;%, was bei Wahrscheinlichkeiten nie vorkommt, daher ist die Antwort unbrauchbar.</translation>
    </message>
    <message>
        <source>This model reasons before it answers even when asked not to, so its first tokens are reasoning rather than the rating, and their probabilities would say nothing about it.</source>
        <translation>Dieses Modell überlegt, bevor es antwortet, selbst wenn es gebeten wird, das nicht zu tun. Seine ersten Tokens sind daher Überlegungen statt der Bewertung, und ihre Wahrscheinlichkeiten würden nichts über sie aussagen.</translation>
    </message>
    <message>
        <source>(empty)</source>
        <translation>(leer)</translation>
    </message>
    <message>
        <source>less than 1 percent</source>
        <translation>weniger als 1 Prozent</translation>
    </message>
    <message>
        <source>more than 99 percent</source>
        <translation>mehr als 99 Prozent</translation>
    </message>
    <message>
        <source>%1 percent</source>
        <translation>%1 Prozent</translation>
    </message>
    <message>
        <source>None of the model&apos;s most likely first tokens is a rating from 1 to 5, so its answer would not have been a rating.</source>
        <translation>Keines der wahrscheinlichsten ersten Tokens des Modells ist eine Bewertung von 1 bis 5, seine Antwort wäre also keine Bewertung gewesen.</translation>
    </message>
    <message>
        <source>The model gave %1 a probability of %2 and the other ratings almost none: it was sure of its answer</source>
        <translation>Das Modell gab der Bewertung %1 eine Wahrscheinlichkeit von %2 und den anderen Bewertungen fast keine: Es war sich seiner Antwort sicher</translation>
    </message>
    <message>
        <source>The model gave %1 a probability of %2 and the other ratings almost none</source>
        <translation>Das Modell gab der Bewertung %1 eine Wahrscheinlichkeit von %2 und den anderen Bewertungen fast keine</translation>
    </message>
    <message>
        <source>The model gave %1 a probability of %2 and %3 a probability of %4; the answer is drawn from these odds, so the same text can get another rating on another run</source>
        <translation>Das Modell gab der Bewertung %1 eine Wahrscheinlichkeit von %2 und der Bewertung %3 eine von %4; die Antwort wird nach diesen Chancen gezogen, daher kann derselbe Text bei einem anderen Durchlauf eine andere Bewertung erhalten</translation>
    </message>
    <message>
        <source>, and this time the draw gave %1</source>
        <translation>, doch diesmal ergab die Ziehung eine %1</translation>
    </message>
    <message>
        <source>%1 of the probability went to tokens that are not ratings, so the answer might not have been a rating at all.</source>
        <translation>%1 der Wahrscheinlichkeit entfiel auf Tokens, die keine Bewertungen sind, daher wäre die Antwort womöglich gar keine Bewertung gewesen.</translation>
    </message>
</context>
<context>
    <name>VectorStripView</name>
    <message>
        <source>First</source>
        <translation>Erster</translation>
    </message>
    <message>
        <source>Second</source>
        <translation>Zweiter</translation>
    </message>
    <message>
        <source>Color strips of the two vectors</source>
        <translation>Farbstreifen der beiden Vektoren</translation>
    </message>
    <message>
        <source>%1 vector: empty.</source>
        <translation>%1 Vektor: leer.</translation>
    </message>
    <message>
        <source>components</source>
        <translation>Komponenten</translation>
    </message>
    <message>
        <source>first %1 components</source>
        <translation>erste %1 Komponenten</translation>
    </message>
    <message>
        <source>%1 vector, %2; %3: %4.</source>
        <translation>%1 Vektor, %2; %3: %4.</translation>
    </message>
    <message>
        <source>%1 %2 Each cell is one dimension: blue below 0, red above 0, pale near 0.</source>
        <translation>%1 %2 Jede Zelle ist eine Dimension: blau unter 0, rot über 0, blass nahe 0.</translation>
    </message>
    <message>
        <source>one cell per dimension, 0 in the middle</source>
        <translation>eine Zelle je Dimension, 0 in der Mitte</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Interactive demos of transformer language models, driven by an Ollama server.</source>
        <translation>Interaktive Demos zu Transformer-Sprachmodellen, betrieben mit einem Ollama-Server.</translation>
    </message>
</context>
</TS>
