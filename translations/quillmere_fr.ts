<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>AboutView</name>
    <message>
        <source>Created by</source>
        <translation>Créé par</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Two demos to introduce important concepts about transformers</source>
        <translation>Deux démos pour découvrir des notions importantes sur les transformeurs</translation>
    </message>
    <message>
        <source>The Quillmere Team</source>
        <translation>L’équipe Quillmere</translation>
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
        <translation>Occupé</translation>
    </message>
</context>
<context>
    <name>CircularProgressGauge</name>
    <message>
        <source>%1 percent</source>
        <translation>%1 pour cent</translation>
    </message>
</context>
<context>
    <name>ClientError</name>
    <message>
        <source>The operation could not be completed. (%1 error %2.)</source>
        <translation>L’opération n’a pas pu être terminée. (Erreur %1 %2.)</translation>
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
        <translation>Type de démo</translation>
    </message>
</context>
<context>
    <name>DemoScreen</name>
    <message>
        <source>How was this computed?</source>
        <translation>Comment est-ce calculé&#x202f;?</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>Read more in the Quillmere Guide</source>
        <translation>En savoir plus dans le guide de Quillmere</translation>
    </message>
</context>
<context>
    <name>DemoType</name>
    <message>
        <source>Sentiment Analysis</source>
        <translation>Analyse de sentiment</translation>
    </message>
    <message>
        <source>Sentence Similarity</source>
        <translation>Similarité de phrases</translation>
    </message>
</context>
<context>
    <name>Examples</name>
    <message>
        <source>Clear Praise</source>
        <translation>Éloge sans détour</translation>
    </message>
    <message>
        <source>Plainly positive words: expect a high score.</source>
        <translation>Des mots clairement positifs&#xa0;: attendez-vous à un score élevé.</translation>
    </message>
    <message>
        <source>Clear Complaint</source>
        <translation>Plainte sans détour</translation>
    </message>
    <message>
        <source>Plainly negative words: expect a low score.</source>
        <translation>Des mots clairement négatifs&#xa0;: attendez-vous à un score bas.</translation>
    </message>
    <message>
        <source>Neutral Fact</source>
        <translation>Fait neutre</translation>
    </message>
    <message>
        <source>A report with no feelings in it: expect the middle of the scale.</source>
        <translation>Un compte rendu sans aucune émotion&#xa0;: attendez-vous au milieu de l’échelle.</translation>
    </message>
    <message>
        <source>Negation</source>
        <translation>Négation</translation>
    </message>
    <message>
        <source>&quot;Bad&quot; appears, but &quot;not bad at all&quot; is praise: does the model read the whole phrase?</source>
        <translation>«&#xa0;Bad&#xa0;» apparaît, mais «&#xa0;not bad at all&#xa0;» est un éloge&#xa0;: le modèle lit-il toute l’expression&#x202f;?</translation>
    </message>
    <message>
        <source>Sarcasm</source>
        <translation>Sarcasme</translation>
    </message>
    <message>
        <source>Positive words with a negative meaning: models often take them at face value.</source>
        <translation>Des mots positifs au sens négatif&#xa0;: les modèles les prennent souvent au pied de la lettre.</translation>
    </message>
    <message>
        <source>Mixed Feelings</source>
        <translation>Sentiments mitigés</translation>
    </message>
    <message>
        <source>Praise and complaint together: one number has to sum up both.</source>
        <translation>Éloge et plainte à la fois&#xa0;: une seule note doit résumer les deux.</translation>
    </message>
    <message>
        <source>Torn Between Two Ratings</source>
        <translation>Partagé entre deux notes</translation>
    </message>
    <message>
        <source>One half praises, the other complains: under &quot;How sure was the model?&quot; the probability splits between two ratings.</source>
        <translation>Une moitié fait l’éloge, l’autre se plaint&#xa0;: sous «&#xa0;Le modèle était-il sûr de lui&#x202f;?&#xa0;», la probabilité se partage entre deux notes.</translation>
    </message>
    <message>
        <source>Paraphrase</source>
        <translation>Paraphrase</translation>
    </message>
    <message>
        <source>Different words, same meaning: expect a high similarity.</source>
        <translation>Des mots différents, le même sens&#xa0;: attendez-vous à une similarité élevée.</translation>
    </message>
    <message>
        <source>One word flips the meaning, yet the vectors often stay close.</source>
        <translation>Un seul mot inverse le sens, et pourtant les vecteurs restent souvent proches.</translation>
    </message>
    <message>
        <source>Same Words, Different Meaning</source>
        <translation>Mêmes mots, sens différent</translation>
    </message>
    <message>
        <source>Every word is shared, but who did what to whom is not.</source>
        <translation>Tous les mots sont communs, mais pas qui a fait quoi à qui.</translation>
    </message>
    <message>
        <source>Unrelated</source>
        <translation>Sans rapport</translation>
    </message>
    <message>
        <source>Nothing in common: expect a low similarity.</source>
        <translation>Rien en commun&#xa0;: attendez-vous à une similarité faible.</translation>
    </message>
    <message>
        <source>Translation</source>
        <translation>Traduction</translation>
    </message>
    <message>
        <source>The same sentence in English and French: a multilingual model places them close.</source>
        <translation>La même phrase en anglais et en français&#xa0;: un modèle multilingue les place près l’une de l’autre.</translation>
    </message>
    <message>
        <source>Three Topics</source>
        <translation>Trois thèmes</translation>
    </message>
    <message>
        <source>Animals, vehicles and food: expect three groups on the map and three bright blocks in the grid.</source>
        <translation>Animaux, véhicules et nourriture&#xa0;: attendez-vous à trois groupes sur la carte et à trois blocs clairs dans la grille.</translation>
    </message>
    <message>
        <source>Paraphrases and a Negation</source>
        <translation>Paraphrases et une négation</translation>
    </message>
    <message>
        <source>Three ways to say one thing, its opposite and two strangers: the negation often lands right beside the paraphrases.</source>
        <translation>Trois façons de dire la même chose, son contraire et deux intruses&#xa0;: la négation se retrouve souvent juste à côté des paraphrases.</translation>
    </message>
    <message>
        <source>One Sentence, Several Languages</source>
        <translation>Une phrase, plusieurs langues</translation>
    </message>
    <message>
        <source>Two sentences, each in four languages: a multilingual model groups them by meaning, others by language.</source>
        <translation>Deux phrases, chacune en quatre langues&#xa0;: un modèle multilingue les regroupe par sens, les autres par langue.</translation>
    </message>
</context>
<context>
    <name>GuideWindow</name>
    <message>
        <source>Quillmere Guide</source>
        <translation>Guide de Quillmere</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>Session History</source>
        <translation>Historique de la session</translation>
    </message>
    <message>
        <source>Every analysis and calculation of this run, from every window. The list is kept only until Quillmere quits; export it to keep it.</source>
        <translation>Toutes les analyses et tous les calculs de cette session, depuis toutes les fenêtres. La liste n’est conservée que jusqu’à la fermeture de Quillmere&#x202f;; exportez-la pour la garder.</translation>
    </message>
    <message>
        <source>Nothing analyzed yet</source>
        <translation>Rien n’a encore été analysé</translation>
    </message>
    <message>
        <source>Results from both demos appear here as soon as they come back.</source>
        <translation>Les résultats des deux démos apparaissent ici dès leur arrivée.</translation>
    </message>
    <message>
        <source>&amp;Use Again</source>
        <translation>&amp;Réutiliser</translation>
    </message>
    <message>
        <source>Co&amp;py</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;Vider</translation>
    </message>
    <message>
        <source>&amp;Export CSV…</source>
        <translation>&amp;Exporter en CSV…</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Historique</translation>
    </message>
    <message>
        <source>Newest first until sorted by a column. Enter uses a row again; Ctrl+C copies the selected rows.</source>
        <translation>Du plus récent au plus ancien, sauf si la liste est triée par une colonne. Entrée réutilise une ligne&#x202f;; Ctrl+C copie les lignes sélectionnées.</translation>
    </message>
    <message>
        <source>Put the selected row&apos;s texts back into its demo</source>
        <translation>Remettre les textes de la ligne sélectionnée dans sa démo</translation>
    </message>
    <message>
        <source>Copy the selected rows as tab-separated text (Ctrl+C)</source>
        <translation>Copier les lignes sélectionnées en texte séparé par des tabulations (Ctrl+C)</translation>
    </message>
    <message>
        <source>Save the list as a CSV file</source>
        <translation>Enregistrer la liste dans un fichier CSV</translation>
    </message>
    <message>
        <source>Remove every row</source>
        <translation>Supprimer toutes les lignes</translation>
    </message>
    <message>
        <source>Could not save %1: %2</source>
        <translation>Impossible d’enregistrer %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Saved 1 row to %1.</source>
        <translation>1 ligne enregistrée dans %1.</translation>
    </message>
    <message numerus="yes">
        <source>Saved %n rows to %1.</source>
        <translation>
            <numerusform>%n ligne enregistrée dans %1.</numerusform>
            <numerusform>%n lignes enregistrées dans %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>Export History</source>
        <translation>Exporter l’historique</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>Fichiers CSV (*.csv);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Enregistré</translation>
    </message>
    <message>
        <source>Not saved</source>
        <translation>Non enregistré</translation>
    </message>
</context>
<context>
    <name>HttpClient</name>
    <message>
        <source>The server did not answer in time (nothing arrived for %1 seconds).</source>
        <translation>Le serveur n’a pas répondu à temps (rien n’est arrivé pendant %1&#xa0;secondes).</translation>
    </message>
    <message>
        <source>The server did not answer in time (nothing arrived for %1 ms).</source>
        <translation>Le serveur n’a pas répondu à temps (rien n’est arrivé pendant %1&#xa0;ms).</translation>
    </message>
    <message>
        <source>The server&apos;s reply is larger than %1 and was refused.</source>
        <translation>La réponse du serveur dépasse %1 et a été refusée.</translation>
    </message>
    <message>
        <source>The server redirected too many times.</source>
        <translation>Le serveur a redirigé trop de fois.</translation>
    </message>
    <message>
        <source>The server redirected from a secure address to an insecure one.</source>
        <translation>Le serveur a redirigé d’une adresse sécurisée vers une adresse non sécurisée.</translation>
    </message>
</context>
<context>
    <name>JsonReading</name>
    <message>
        <source>The server&apos;s reply is not a JSON object or array (its top level is %1).</source>
        <translation>La réponse du serveur n’est ni un objet ni un tableau JSON (son niveau supérieur est %1).</translation>
    </message>
    <message>
        <source>The server&apos;s reply is not valid JSON: %1</source>
        <translation>La réponse du serveur n’est pas du JSON valide&#xa0;: %1</translation>
    </message>
    <message>
        <source>The server&apos;s reply could not be read: %1</source>
        <translation>La réponse du serveur n’a pas pu être lue&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>LanguageSection</name>
    <message>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>System default</source>
        <translation>Langue du système</translation>
    </message>
    <message>
        <source>Windows, menus and explanations change at once. What is sent to the model stays in English, which models read best.</source>
        <translation>Les fenêtres, les menus et les explications changent immédiatement. Ce qui est envoyé au modèle reste en anglais, la langue que les modèles lisent le mieux.</translation>
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
        <translation>Plongement</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Outils</translation>
    </message>
    <message>
        <source>Vision</source>
        <translation>Vision</translation>
    </message>
    <message>
        <source>Thinking</source>
        <translation>Réflexion</translation>
    </message>
    <message>
        <source>Details of %1</source>
        <translation>Détails de %1</translation>
    </message>
    <message>
        <source>Family:</source>
        <translation>Famille&#xa0;:</translation>
    </message>
    <message>
        <source>Parameters:</source>
        <translation>Paramètres&#xa0;:</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format&#xa0;:</translation>
    </message>
    <message>
        <source>Capabilities:</source>
        <translation>Capacités&#xa0;:</translation>
    </message>
</context>
<context>
    <name>ModelPicker</name>
    <message>
        <source>Select a model...</source>
        <translation>Sélectionner un modèle...</translation>
    </message>
</context>
<context>
    <name>ModelSettingsView</name>
    <message>
        <source>Refresh Models</source>
        <translation>Actualiser les modèles</translation>
    </message>
    <message>
        <source>Embedding Model</source>
        <translation>Modèle de plongement</translation>
    </message>
    <message>
        <source>Select a model that supports embeddings (text to vector conversion)</source>
        <translation>Sélectionnez un modèle qui prend en charge les plongements (conversion de texte en vecteur)</translation>
    </message>
    <message>
        <source>No embedding models available. Please install an embedding model (e.g., nomic-embed-text, mxbai-embed-large)</source>
        <translation>Aucun modèle de plongement disponible. Veuillez installer un modèle de plongement (par ex. nomic-embed-text, mxbai-embed-large)</translation>
    </message>
    <message>
        <source>Language Model (LLM)</source>
        <translation>Modèle de langage (LLM)</translation>
    </message>
    <message>
        <source>Select a text-only language model (without vision or embedding capabilities)</source>
        <translation>Sélectionnez un modèle de langage texte seul (sans capacité de vision ni de plongement)</translation>
    </message>
    <message>
        <source>No compatible LLM models available. Please install a text-only model (e.g., llama3.2, mistral, qwen2.5)</source>
        <translation>Aucun modèle de langage compatible disponible. Veuillez installer un modèle texte seul (par ex. llama3.2, mistral, qwen2.5)</translation>
    </message>
    <message>
        <source>LLM Model</source>
        <translation>Modèle de langage</translation>
    </message>
    <message>
        <source>Save Selection</source>
        <translation>Enregistrer la sélection</translation>
    </message>
    <message>
        <source>Stores both chosen models</source>
        <translation>Enregistre les deux modèles choisis</translation>
    </message>
    <message>
        <source>Loading models...</source>
        <translation>Chargement des modèles...</translation>
    </message>
    <message>
        <source>Models loaded</source>
        <translation>Modèles chargés</translation>
    </message>
    <message>
        <source>Both models configured</source>
        <translation>Les deux modèles sont configurés</translation>
    </message>
    <message>
        <source>Please select both models to use the app</source>
        <translation>Veuillez sélectionner les deux modèles pour utiliser l’application</translation>
    </message>
    <message>
        <source>Models not loaded</source>
        <translation>Modèles non chargés</translation>
    </message>
</context>
<context>
    <name>OllamaService</name>
    <message>
        <source>Failed to fetch models: %1</source>
        <translation>Impossible de récupérer les modèles&#xa0;: %1</translation>
    </message>
    <message>
        <source>Invalid URL</source>
        <translation>URL non valide</translation>
    </message>
</context>
<context>
    <name>OllamaSettingsView</name>
    <message>
        <source>Local (default)</source>
        <translation>Local (par défaut)</translation>
    </message>
    <message>
        <source>Custom port</source>
        <translation>Port personnalisé</translation>
    </message>
    <message>
        <source>Remote server</source>
        <translation>Serveur distant</translation>
    </message>
    <message>
        <source>Ollama Server URL</source>
        <translation>URL du serveur Ollama</translation>
    </message>
    <message>
        <source>Enter the URL where your Ollama server is running</source>
        <translation>Saisissez l’URL de votre serveur Ollama</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Réinitialiser</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Puts the default URL into the field</source>
        <translation>Remet l’URL par défaut dans le champ</translation>
    </message>
    <message>
        <source>Stores the server URL</source>
        <translation>Enregistre l’URL du serveur</translation>
    </message>
    <message>
        <source>Examples</source>
        <translation>Exemples</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Settings saved! Restart the app to apply changes.</source>
        <translation>Paramètres enregistrés&#x202f;! Redémarrez l’application pour appliquer les modifications.</translation>
    </message>
    <message>
        <source>Set by your school&apos;s administrator.</source>
        <translation>Défini par l’administrateur de votre établissement.</translation>
    </message>
</context>
<context>
    <name>PreferenceOptions</name>
    <message>
        <source>Store &lt;url&gt; as the Ollama server&apos;s address (http:// or https://), and exit.</source>
        <translation>Enregistrer &lt;url&gt; comme adresse du serveur Ollama (http:// ou https://), puis quitter.</translation>
    </message>
    <message>
        <source>url</source>
        <translation>url</translation>
    </message>
    <message>
        <source>Store &lt;name&gt; as the embedding model of the similarity demo, and exit.</source>
        <translation>Enregistrer &lt;nom&gt; comme modèle de plongement de la démo de similarité, puis quitter.</translation>
    </message>
    <message>
        <source>name</source>
        <translation>nom</translation>
    </message>
    <message>
        <source>Store &lt;name&gt; as the language model of the sentiment demo, and exit.</source>
        <translation>Enregistrer &lt;nom&gt; comme modèle de langage de la démo de sentiment, puis quitter.</translation>
    </message>
    <message>
        <source>Print the stored server address and model names (key=value lines), and exit. With --set-* options, after storing them.</source>
        <translation>Afficher l’adresse du serveur et les noms de modèles enregistrés (lignes clé=valeur), puis quitter. Avec les options --set-*, après leur enregistrement.</translation>
    </message>
    <message>
        <source>Print what the system-wide settings file sets and locks (key=value lines), and exit.</source>
        <translation>Afficher ce que le fichier de paramètres du système définit et verrouille (lignes clé=valeur), puis quitter.</translation>
    </message>
    <message>
        <source>quillmere: --%1: set by your school&apos;s administrator in %2
</source>
        <translation>quillmere&#xa0;: --%1&#xa0;: défini par l’administrateur de votre établissement dans %2
</translation>
    </message>
    <message>
        <source>quillmere: --%1: %2
</source>
        <translation>quillmere&#xa0;: --%1&#xa0;: %2
</translation>
    </message>
    <message>
        <source>quillmere: --%1: the model name is empty
</source>
        <translation>quillmere&#xa0;: --%1&#xa0;: le nom du modèle est vide
</translation>
    </message>
    <message>
        <source>quillmere: nothing was stored
</source>
        <translation>quillmere&#xa0;: rien n’a été enregistré
</translation>
    </message>
    <message>
        <source>quillmere: the preferences could not be saved: %1
</source>
        <translation>quillmere&#xa0;: les préférences n’ont pas pu être enregistrées&#xa0;: %1
</translation>
    </message>
</context>
<context>
    <name>ProbabilityBarChart</name>
    <message>
        <source>something else</source>
        <translation>autre chose</translation>
    </message>
    <message>
        <source>Rating %1</source>
        <translation>Note %1</translation>
    </message>
    <message>
        <source>Something else</source>
        <translation>Autre chose</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>QuillmereApp</name>
    <message>
        <source>&amp;New Window</source>
        <translation>&amp;Nouvelle fenêtre</translation>
    </message>
    <message>
        <source>&amp;Close Window</source>
        <translation>&amp;Fermer la fenêtre</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Settings…</source>
        <translation>&amp;Paramètres…</translation>
    </message>
    <message>
        <source>&amp;About Quillmere</source>
        <translation>À &amp;propos de Quillmere</translation>
    </message>
    <message>
        <source>&amp;History</source>
        <translation>&amp;Historique</translation>
    </message>
    <message>
        <source>Sentence &amp;Map</source>
        <translation>&amp;Carte des phrases</translation>
    </message>
    <message>
        <source>Quillmere &amp;Guide</source>
        <translation>&amp;Guide de Quillmere</translation>
    </message>
    <message>
        <source>Every analysis and calculation of this run</source>
        <translation>Toutes les analyses et tous les calculs de cette session</translation>
    </message>
    <message>
        <source>Many sentences at once, as a grid and a map of meaning</source>
        <translation>Plusieurs phrases à la fois, en grille et en carte du sens</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>About Quillmere</source>
        <translation>À propos de Quillmere</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>E&amp;xamples</source>
        <translation>E&amp;xemples</translation>
    </message>
    <message>
        <source>Sentence Map</source>
        <translation>Carte des phrases</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;ide</translation>
    </message>
    <message>
        <source>Zoom &amp;In (%1 %)</source>
        <translation>Zoom a&amp;vant (%1&#xa0;%)</translation>
    </message>
    <message>
        <source>Zoom &amp;Out (%1 %)</source>
        <translation>Zoom a&amp;rrière (%1&#xa0;%)</translation>
    </message>
    <message>
        <source>&amp;Actual Size (%1 %)</source>
        <translation>&amp;Taille réelle (%1&#xa0;%)</translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation>&amp;Plein écran</translation>
    </message>
</context>
<context>
    <name>SamplingLab</name>
    <message>
        <source>Rating %1</source>
        <translation>Note %1</translation>
    </message>
    <message>
        <source>Something else with these settings: %1</source>
        <translation>Autre chose avec ces réglages&#xa0;: %1</translation>
    </message>
    <message>
        <source>Rating %1 with these settings: %2</source>
        <translation>Note %1 avec ces réglages&#xa0;: %2</translation>
    </message>
    <message>
        <source>something else</source>
        <translation>autre chose</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 sur %2</translation>
    </message>
    <message>
        <source>no number</source>
        <translation>aucun nombre</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1&#xa0;: %2</translation>
    </message>
    <message>
        <source>No number</source>
        <translation>Aucun nombre</translation>
    </message>
    <message>
        <source>%1 of %2 answers had no number; the odds said %3.</source>
        <translation>Réponse la plus fréquente&#xa0;: aucun nombre, %1 fois sur %2&#x202f;; les chances annonçaient %3.</translation>
    </message>
    <message>
        <source>%1 of %2 answers were %3; the odds said %4.</source>
        <translation>Réponse la plus fréquente&#xa0;: %3, %1 fois sur %2&#x202f;; les chances annonçaient %4.</translation>
    </message>
    <message>
        <source>%1 ×%2</source>
        <translation>%1 ×%2</translation>
    </message>
    <message>
        <source>How does the model pick one answer?</source>
        <translation>Comment le modèle choisit-il une réponse&#x202f;?</translation>
    </message>
    <message>
        <source>The server draws the answer from these odds after its sampling settings reshape them. Move the settings to see how; then ask the model several times to see the draws follow the odds.</source>
        <translation>Le serveur tire la réponse selon ces chances, après que ses réglages d’échantillonnage les ont remodelées. Modifiez les réglages pour voir comment&#x202f;; puis interrogez le modèle plusieurs fois pour voir les tirages suivre les chances.</translation>
    </message>
    <message>
        <source>The odds with these settings</source>
        <translation>Les chances avec ces réglages</translation>
    </message>
    <message>
        <source>A temperature near 0 gives the top candidate all the odds: the model always answers the same. A high one flattens the odds, so less likely ratings come up more often.</source>
        <translation>Une température proche de 0 donne toutes les chances au premier candidat&#xa0;: le modèle répond toujours la même chose. Une température élevée aplatit les chances, si bien que les notes moins probables sortent plus souvent.</translation>
    </message>
    <message>
        <source>Ask the model many times</source>
        <translation>Interroger le modèle plusieurs fois</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Thick bars: the answers. Thin bars: the odds with the settings the run used.</source>
        <translation>Barres épaisses&#xa0;: les réponses. Barres fines&#xa0;: les chances avec les réglages utilisés pour la série.</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Désactivé</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Température</translation>
    </message>
    <message>
        <source>Low sharpens the odds toward the top candidate; high flattens them.</source>
        <translation>Basse, elle concentre les chances sur le premier candidat&#x202f;; haute, elle les aplatit.</translation>
    </message>
    <message>
        <source>Top-k</source>
        <translation>Top-k</translation>
    </message>
    <message>
        <source>Only the k most likely candidates may be drawn; Off keeps them all.</source>
        <translation>Seuls les k candidats les plus probables peuvent être tirés&#x202f;; Désactivé les garde tous.</translation>
    </message>
    <message>
        <source>Top-p</source>
        <translation>Top-p</translation>
    </message>
    <message>
        <source>Only the most likely candidates whose shares add up to p may be drawn.</source>
        <translation>Seuls les candidats les plus probables dont les parts totalisent p peuvent être tirés.</translation>
    </message>
    <message>
        <source>Probability of each rating with these settings</source>
        <translation>Probabilité de chaque note avec ces réglages</translation>
    </message>
    <message>
        <source>Answers the model gave</source>
        <translation>Réponses données par le modèle</translation>
    </message>
    <message>
        <source>Number of requests</source>
        <translation>Nombre de requêtes</translation>
    </message>
    <message numerus="yes">
        <source>%n times</source>
        <translation>
            <numerusform>%n fois</numerusform>
            <numerusform>%n fois</numerusform>
        </translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message numerus="yes">
        <source>Asked %n times with %1: %2</source>
        <translation>
            <numerusform>Interrogé %n fois avec %1&#xa0;: %2</numerusform>
            <numerusform>Interrogé %n fois avec %1&#xa0;: %2</numerusform>
        </translation>
    </message>
    <message>
        <source>Left out: the %1 of probability on tokens the server did not list; the settings can only reshape the candidates it listed.</source>
        <translation>Non pris en compte&#xa0;: %1 de probabilité sur des jetons que le serveur n’a pas listés&#x202f;; les réglages ne peuvent remodeler que les candidats listés.</translation>
    </message>
    <message numerus="yes">
        <source>Ask %n Times</source>
        <translation>
            <numerusform>Demander %n fois</numerusform>
            <numerusform>Demander %n fois</numerusform>
        </translation>
    </message>
    <message>
        <source>Stopped at %1</source>
        <translation>Arrêté à %1</translation>
    </message>
</context>
<context>
    <name>SamplingRun</name>
    <message>
        <source>Error: %1</source>
        <translation>Erreur&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>SamplingText</name>
    <message>
        <source>off</source>
        <translation>désactivé</translation>
    </message>
    <message>
        <source>temperature %1, top-k %2, top-p %3</source>
        <translation>température %1, top-k %2, top-p %3</translation>
    </message>
    <message>
        <source>temperature</source>
        <translation>la température</translation>
    </message>
    <message>
        <source>top-k</source>
        <translation>le top-k</translation>
    </message>
    <message>
        <source>top-p</source>
        <translation>le top-p</translation>
    </message>
    <message>
        <source>Starting from the model&apos;s own settings: %1.</source>
        <translation>Point de départ&#xa0;: les réglages propres au modèle, %1.</translation>
    </message>
    <message>
        <source>Starting from the server&apos;s defaults (%1): the model lists no settings of its own.</source>
        <translation>Point de départ&#xa0;: les valeurs par défaut du serveur (%1), car le modèle ne définit aucun réglage propre.</translation>
    </message>
    <message>
        <source>Starting from the model&apos;s own %1 and the server&apos;s default %2: %3.</source>
        <translation>Point de départ&#xa0;: %1 du modèle et %2 par défaut du serveur, soit %3.</translation>
    </message>
    <message>
        <source> and </source>
        <translation> et </translation>
    </message>
    <message>
        <source>A top-k of %1 keeps every listed candidate, the same as off.</source>
        <translation>Un top-k de %1 garde tous les candidats listés, comme s’il était désactivé.</translation>
    </message>
    <message>
        <source>No candidate that these settings keep is a rating, so no answer drawn with them would be a number.</source>
        <translation>Aucun candidat retenu par ces réglages n’est une note&#xa0;: aucune réponse tirée avec eux ne serait un nombre.</translation>
    </message>
    <message>
        <source>Top-k %1 keeps the %2 most likely of the %3 listed candidates</source>
        <translation>Le top-k %1 garde les %2 plus probables des %3 candidats listés</translation>
    </message>
    <message>
        <source>Top-k is off, so all %1 listed candidates stay</source>
        <translation>Le top-k est désactivé, les %1 candidats listés restent donc tous</translation>
    </message>
    <message>
        <source>top-p %1 then keeps the %2 most likely whose shares reach %1</source>
        <translation>le top-p %1 garde ensuite les %2 plus probables dont les parts atteignent %1</translation>
    </message>
    <message>
        <source>Each kept candidate weighs exp(log-probability ÷ %1). Rating %2 (%3) weighs %4 of %5 in all, so its share is %4 ÷ %5 = %6.</source>
        <translation>Chaque candidat retenu pèse exp(log-probabilité ÷ %1). La note %2 (%3) pèse %4 sur %5 au total, sa part est donc %4 ÷ %5 = %6.</translation>
    </message>
    <message>
        <source>%1; %2. %3</source>
        <translation>%1&#x202f;; %2. %3</translation>
    </message>
</context>
<context>
    <name>SentenceEmbeddings</name>
    <message>
        <source>The server&apos;s reply is not valid JSON: %1</source>
        <translation>La réponse du serveur n’est pas du JSON valide&#xa0;: %1</translation>
    </message>
    <message>
        <source>The server&apos;s reply is not a JSON object or array (its top level is %1).</source>
        <translation>La réponse du serveur n’est ni un objet ni un tableau JSON (son niveau supérieur est %1).</translation>
    </message>
    <message>
        <source>The server said: %1</source>
        <translation>Le serveur a répondu&#xa0;: %1</translation>
    </message>
    <message>
        <source>The server sent %1 vectors for %2 sentences.</source>
        <translation>Le serveur a envoyé %1 vecteur(s) pour %2 phrase(s).</translation>
    </message>
    <message>
        <source>The vector of sentence %1 is empty.</source>
        <translation>Le vecteur de la phrase %1 est vide.</translation>
    </message>
    <message>
        <source>The vectors differ in length (%1 for sentence 1, %2 for sentence %3).</source>
        <translation>Les vecteurs n’ont pas la même longueur (%1 pour la phrase 1, %2 pour la phrase %3).</translation>
    </message>
    <message>
        <source>The vector of sentence %1 holds a value that is not a finite 32-bit number.</source>
        <translation>Le vecteur de la phrase %1 contient une valeur qui n’est pas un nombre fini sur 32 bits.</translation>
    </message>
</context>
<context>
    <name>SentenceMap</name>
    <message>
        <source>%1 is closest to %2, %3</source>
        <translation>%1 est la plus proche de %2, %3</translation>
    </message>
    <message>
        <source>These sentences&apos; vectors do not spread out at all, so every point sits in the middle.</source>
        <translation>Les vecteurs de ces phrases ne se dispersent pas du tout&#xa0;: tous les points se trouvent donc au centre.</translation>
    </message>
    <message>
        <source>These two directions hold %1 % of the spread.</source>
        <translation>Ces deux directions contiennent %1&#xa0;% de la dispersion.</translation>
    </message>
</context>
<context>
    <name>SentenceMapPlot</name>
    <message>
        <source>Map of meaning</source>
        <translation>Carte du sens</translation>
    </message>
    <message>
        <source>Direction 1 → (%1 of the spread)</source>
        <translation>Direction 1 → (%1 de la dispersion)</translation>
    </message>
    <message>
        <source>Direction 2 → (%1 of the spread)</source>
        <translation>Direction 2 → (%1 de la dispersion)</translation>
    </message>
    <message>
        <source>Point at a dot, or Tab to it, to read its whole sentence.</source>
        <translation>Survolez un point avec la souris, ou atteignez-le avec Tab, pour lire sa phrase entière.</translation>
    </message>
</context>
<context>
    <name>SentenceMapWindow</name>
    <message>
        <source>Sentence Map</source>
        <translation>Carte des phrases</translation>
    </message>
    <message numerus="yes">
        <source>%n sentences</source>
        <translation>
            <numerusform>%n phrase</numerusform>
            <numerusform>%n phrases</numerusform>
        </translation>
    </message>
    <message>
        <source>%1, closest %2 and %3 at %4</source>
        <translation>%1, les plus proches&#xa0;: %2 et %3 à %4</translation>
    </message>
    <message>
        <source>Type 3 to 16 sentences, one per line. The embedding model turns each into a vector; the grid compares every pair, and the map lays the vectors out flat, so that sentences with similar meanings sit close together.</source>
        <translation>Saisissez de 3 à 16 phrases, une par ligne. Le modèle de plongement transforme chacune en vecteur&#x202f;; la grille compare chaque paire, et la carte étale les vecteurs à plat, de sorte que les phrases de sens proche se retrouvent côte à côte.</translation>
    </message>
    <message>
        <source>The offline stand-in serves these vectors: it knows English words and their kinds, not sentences, other languages or negation.</source>
        <translation>Ces vecteurs viennent du serveur de substitution hors ligne&#xa0;: il connaît des mots anglais et leurs catégories, mais pas les phrases, les autres langues ni la négation.</translation>
    </message>
    <message>
        <source>The grid of similarities and the map of meaning appear here once the sentences are mapped.</source>
        <translation>La grille des similarités et la carte du sens apparaissent ici une fois la carte créée.</translation>
    </message>
    <message>
        <source>Bright cells are pairs with close meanings. Look for bright blocks away from the diagonal: groups of sentences about the same thing. The diagonal is each sentence against itself.</source>
        <translation>Les cases claires sont des paires de sens proche. Cherchez des blocs clairs hors de la diagonale&#xa0;: des groupes de phrases qui parlent de la même chose. La diagonale compare chaque phrase à elle-même.</translation>
    </message>
    <message>
        <source>Look for clusters: sentences about the same thing gather, and the gaps between groups are what the model tells apart. Two directions cannot hold everything, so distances are only roughly right.</source>
        <translation>Cherchez des groupes&#xa0;: les phrases qui parlent de la même chose se rassemblent, et les écarts entre les groupes montrent ce que le modèle distingue. Deux directions ne peuvent pas tout contenir&#xa0;: les distances ne sont donc qu’approximatives.</translation>
    </message>
    <message>
        <source>Export Matrix CSV…</source>
        <translation>Exporter la matrice en CSV…</translation>
    </message>
    <message>
        <source>Export Map PNG…</source>
        <translation>Exporter la carte en PNG…</translation>
    </message>
    <message>
        <source>Sentences, one per line</source>
        <translation>Phrases, une par ligne</translation>
    </message>
    <message>
        <source>The cat sat on the mat.
A dog slept by the fire.
The train leaves at seven.</source>
        <translation>Le chat dort sur le tapis.
Un chien somnole près du feu.
Le train part à sept heures.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>No embedding model selected</source>
        <translation>Aucun modèle de plongement sélectionné</translation>
    </message>
    <message>
        <source>Please select an embedding model in Settings to map sentences.</source>
        <translation>Veuillez sélectionner un modèle de plongement dans les paramètres pour créer une carte des phrases.</translation>
    </message>
    <message>
        <source>Map of Meaning</source>
        <translation>Carte du sens</translation>
    </message>
    <message>
        <source>Sentences</source>
        <translation>Phrases</translation>
    </message>
    <message>
        <source>Nearest Neighbours</source>
        <translation>Plus proches voisins</translation>
    </message>
    <message>
        <source>Nearest neighbours</source>
        <translation>Plus proches voisins</translation>
    </message>
    <message>
        <source>Save the grid of similarities as a CSV file</source>
        <translation>Enregistrer la grille des similarités dans un fichier CSV</translation>
    </message>
    <message>
        <source>Save the map as a PNG picture</source>
        <translation>Enregistrer la carte dans une image PNG</translation>
    </message>
    <message>
        <source>Similarity Matrix</source>
        <translation>Matrice de similarité</translation>
    </message>
    <message>
        <source>Similarity matrix</source>
        <translation>Matrice de similarité</translation>
    </message>
    <message>
        <source>Please select an embedding model in Settings</source>
        <translation>Veuillez sélectionner un modèle de plongement dans les paramètres</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Erreur&#xa0;: %1</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1&#xa0;: %2</translation>
    </message>
    <message>
        <source>%1 and %2: %3
%1: %4
%2: %5</source>
        <translation>%1 et %2&#xa0;: %3
%1&#xa0;: %4
%2&#xa0;: %5</translation>
    </message>
    <message>
        <source>Sentence %1, &quot;%2&quot;, and sentence %3, &quot;%4&quot;: %5</source>
        <translation>Phrase %1, «&#xa0;%2&#xa0;», et phrase %3, «&#xa0;%4&#xa0;»&#xa0;: %5</translation>
    </message>
    <message>
        <source>Nothing to save yet: map some sentences first.</source>
        <translation>Rien à enregistrer pour l’instant&#xa0;: créez d’abord une carte.</translation>
    </message>
    <message>
        <source>Could not save %1: %2</source>
        <translation>Impossible d’enregistrer %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Saved the matrix to %1.</source>
        <translation>Matrice enregistrée dans %1.</translation>
    </message>
    <message>
        <source>Could not save %1: the picture could not be made.</source>
        <translation>Impossible d’enregistrer %1&#xa0;: l’image n’a pas pu être créée.</translation>
    </message>
    <message>
        <source>Saved the map to %1.</source>
        <translation>Carte enregistrée dans %1.</translation>
    </message>
    <message>
        <source>Export Matrix</source>
        <translation>Exporter la matrice</translation>
    </message>
    <message>
        <source>Export Map</source>
        <translation>Exporter la carte</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>Fichiers CSV (*.csv);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>PNG pictures (*.png);;All files (*)</source>
        <translation>Images PNG (*.png);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Type 3 to 16 sentences, one per line; blank lines are skipped.</source>
        <translation>Saisissez de 3 à 16 phrases, une par ligne&#x202f;; les lignes vides sont ignorées.</translation>
    </message>
    <message numerus="yes">
        <source>%n of at least 3 sentences.</source>
        <translation>
            <numerusform>%n phrase sur 3 au minimum.</numerusform>
            <numerusform>%n phrases sur 3 au minimum.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n sentences: one map holds at most 16, so remove %1.</source>
        <translation>
            <numerusform>%n phrase&#xa0;: une carte en contient au plus 16, supprimez-en donc %1.</numerusform>
            <numerusform>%n phrases&#xa0;: une carte en contient au plus 16, supprimez-en donc %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n sentences.</source>
        <translation>
            <numerusform>%n phrase.</numerusform>
            <numerusform>%n phrases.</numerusform>
        </translation>
    </message>
    <message>
        <source>Mapping...</source>
        <translation>Création de la carte...</translation>
    </message>
    <message>
        <source>Map Sentences</source>
        <translation>Créer la carte</translation>
    </message>
    <message>
        <source>%1  %2</source>
        <translation>%1  %2</translation>
    </message>
    <message>
        <source>Nearest neighbours: %1</source>
        <translation>Plus proches voisins&#xa0;: %1</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Enregistré</translation>
    </message>
    <message>
        <source>Not saved</source>
        <translation>Non enregistré</translation>
    </message>
</context>
<context>
    <name>SentenceSimilarityView</name>
    <message>
        <source>Sentence Similarity Demo</source>
        <translation>Démo de similarité de phrases</translation>
    </message>
    <message>
        <source>This demo uses embeddings to measure how similar two sentences are. Embeddings convert text into numerical vectors, and cosine similarity measures the angle between these vectors (0% = completely different, 100% = identical).</source>
        <translation>Cette démo utilise des plongements (embeddings) pour mesurer à quel point deux phrases se ressemblent. Les plongements convertissent le texte en vecteurs numériques, et la similarité cosinus mesure l’angle entre ces vecteurs (0&#xa0;% = complètement différentes, 100&#xa0;% = identiques).</translation>
    </message>
    <message>
        <source>Calculate Similarity</source>
        <translation>Calculer la similarité</translation>
    </message>
    <message>
        <source>Calculating...</source>
        <translation>Calcul en cours...</translation>
    </message>
    <message>
        <source>Similarity Score:</source>
        <translation>Score de similarité&#xa0;:</translation>
    </message>
    <message>
        <source>Shows both vectors and each step from them to the percentage</source>
        <translation>Affiche les deux vecteurs et chaque étape qui mène au pourcentage</translation>
    </message>
    <message>
        <source>No embedding model selected</source>
        <translation>Aucun modèle de plongement sélectionné</translation>
    </message>
    <message>
        <source>Please select an embedding model in Settings to use this demo.</source>
        <translation>Veuillez sélectionner un modèle de plongement dans les paramètres pour utiliser cette démo.</translation>
    </message>
    <message>
        <source>First Sentence:</source>
        <translation>Première phrase&#xa0;:</translation>
    </message>
    <message>
        <source>Example: &quot;The cat sat on the mat&quot;</source>
        <translation>Exemple&#xa0;: «&#xa0;Le chat est assis sur le tapis&#xa0;»</translation>
    </message>
    <message>
        <source>Second Sentence:</source>
        <translation>Deuxième phrase&#xa0;:</translation>
    </message>
    <message>
        <source>Example: &quot;A feline rested on the rug&quot;</source>
        <translation>Exemple&#xa0;: «&#xa0;Un félin se reposait sur la carpette&#xa0;»</translation>
    </message>
    <message>
        <source>Compare more sentences in the Sentence Map…</source>
        <translation>Comparer plus de phrases dans la carte des phrases…</translation>
    </message>
    <message>
        <source>Please select an embedding model in Settings</source>
        <translation>Veuillez sélectionner un modèle de plongement dans les paramètres</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Erreur&#xa0;: %1</translation>
    </message>
    <message>
        <source>Similarity %1</source>
        <translation>Similarité %1</translation>
    </message>
</context>
<context>
    <name>SentimentAnalysisView</name>
    <message>
        <source>Sentiment Analysis Demo</source>
        <translation>Démo d’analyse de sentiment</translation>
    </message>
    <message>
        <source>This demo uses a language model to analyze the sentiment of text. Enter any text below and click &apos;Analyze&apos; to determine if it&apos;s positive, negative, or neutral.</source>
        <translation>Cette démo utilise un modèle de langage pour analyser le sentiment d’un texte. Saisissez un texte ci-dessous et cliquez sur «&#xa0;Analyser&#xa0;» pour savoir s’il est positif, négatif ou neutre.</translation>
    </message>
    <message>
        <source>Analyze Sentiment</source>
        <translation>Analyser le sentiment</translation>
    </message>
    <message>
        <source>Analyzing...</source>
        <translation>Analyse en cours...</translation>
    </message>
    <message>
        <source>Sentiment Analysis:</source>
        <translation>Analyse de sentiment&#xa0;:</translation>
    </message>
    <message>
        <source>Shows the prompt, the model&apos;s answer and how the score was read from it</source>
        <translation>Affiche le prompt, la réponse du modèle et la façon dont le score en a été lu</translation>
    </message>
    <message>
        <source>No LLM model selected</source>
        <translation>Aucun modèle de langage sélectionné</translation>
    </message>
    <message>
        <source>Please select a language model in Settings to use this demo.</source>
        <translation>Veuillez sélectionner un modèle de langage dans les paramètres pour utiliser cette démo.</translation>
    </message>
    <message>
        <source>Tell me about your recent vacations:</source>
        <translation>Parlez-moi de vos dernières vacances&#xa0;:</translation>
    </message>
    <message>
        <source>Example: &quot;I love this beautiful sunny day!&quot;</source>
        <translation>Exemple&#xa0;: «&#xa0;J’adore cette belle journée ensoleillée&#x202f;!&#xa0;»</translation>
    </message>
    <message>
        <source>Star %1</source>
        <translation>Étoile %1</translation>
    </message>
    <message>
        <source>Please select an LLM model in Settings</source>
        <translation>Veuillez sélectionner un modèle de langage dans les paramètres</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Erreur&#xa0;: %1</translation>
    </message>
    <message>
        <source>%1 of 5 stars, %2</source>
        <translation>%1 sur 5 étoiles, %2</translation>
    </message>
</context>
<context>
    <name>SentimentDetailsPanel</name>
    <message>
        <source>Model</source>
        <translation>Modèle</translation>
    </message>
    <message>
        <source>Prompt sent to the model</source>
        <translation>Prompt envoyé au modèle</translation>
    </message>
    <message>
        <source>Your text is highlighted; everything around it is the same for every analysis.</source>
        <translation>Votre texte est surligné&#x202f;; tout ce qui l’entoure est identique pour chaque analyse.</translation>
    </message>
    <message>
        <source>The model&apos;s reasoning</source>
        <translation>Le raisonnement du modèle</translation>
    </message>
    <message>
        <source>The model reasoned before it answered; writing that reasoning is why a thinking model takes longer.</source>
        <translation>Le modèle a raisonné avant de répondre&#x202f;; écrire ce raisonnement explique pourquoi un modèle à réflexion met plus de temps.</translation>
    </message>
    <message>
        <source>The model&apos;s answer, exactly as received</source>
        <translation>La réponse du modèle, telle que reçue</translation>
    </message>
    <message>
        <source>Reading the answer</source>
        <translation>Lecture de la réponse</translation>
    </message>
    <message>
        <source>1. First line, trimmed</source>
        <translation>1. Première ligne, sans espaces aux extrémités</translation>
    </message>
    <message>
        <source>2. Stripped of . ! ? , &quot; &apos; and spaces at both ends</source>
        <translation>2. Débarrassée des . ! ? , &quot; &apos; et des espaces aux deux extrémités</translation>
    </message>
    <message>
        <source>3. Score</source>
        <translation>3. Score</translation>
    </message>
    <message>
        <source>Server timing</source>
        <translation>Durées sur le serveur</translation>
    </message>
    <message>
        <source>How the score was computed</source>
        <translation>Comment le score a été calculé</translation>
    </message>
    <message>
        <source>(empty answer)</source>
        <translation>(réponse vide)</translation>
    </message>
    <message>
        <source>(empty)</source>
        <translation>(vide)</translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation>«&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>%1 The prompt stays in English, which models read best.</source>
        <translation>%1 Le prompt reste en anglais, la langue que les modèles lisent le mieux.</translation>
    </message>
</context>
<context>
    <name>SentimentReadingText</name>
    <message>
        <source>read as %1</source>
        <translation>lu comme %1</translation>
    </message>
    <message>
        <source>nothing is left to read, so the neutral fallback %1 was used</source>
        <translation>il ne reste rien à lire&#xa0;: la valeur neutre de repli %1 a donc été utilisée</translation>
    </message>
    <message>
        <source>not a whole number from 1 to 5, so the neutral fallback %1 was used</source>
        <translation>pas un nombre entier de 1 à 5&#xa0;: la valeur neutre de repli %1 a donc été utilisée</translation>
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
        <translation>total %1</translation>
    </message>
    <message>
        <source>model load %1</source>
        <translation>chargement du modèle %1</translation>
    </message>
    <message>
        <source>1 token generated</source>
        <translation>1 jeton généré</translation>
    </message>
    <message numerus="yes">
        <source>%n tokens generated</source>
        <translation>
            <numerusform>%n jeton généré</numerusform>
            <numerusform>%n jetons générés</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SentimentScore</name>
    <message>
        <source>Very Negative</source>
        <translation>Très négatif</translation>
    </message>
    <message>
        <source>Negative</source>
        <translation>Négatif</translation>
    </message>
    <message>
        <source>Neutral</source>
        <translation>Neutre</translation>
    </message>
    <message>
        <source>Positive</source>
        <translation>Positif</translation>
    </message>
    <message>
        <source>Very Positive</source>
        <translation>Très positif</translation>
    </message>
    <message>
        <source>This text expresses strong negative emotions or opinions.</source>
        <translation>Ce texte exprime des émotions ou des opinions très négatives.</translation>
    </message>
    <message>
        <source>This text leans toward negative sentiment.</source>
        <translation>Ce texte penche vers un sentiment négatif.</translation>
    </message>
    <message>
        <source>This text is neutral, with balanced or factual tone.</source>
        <translation>Ce texte est neutre, d’un ton équilibré ou factuel.</translation>
    </message>
    <message>
        <source>This text leans toward positive sentiment.</source>
        <translation>Ce texte penche vers un sentiment positif.</translation>
    </message>
    <message>
        <source>This text expresses strong positive emotions or opinions.</source>
        <translation>Ce texte exprime des émotions ou des opinions très positives.</translation>
    </message>
</context>
<context>
    <name>ServerEndpoint</name>
    <message>
        <source>URL must start with http:// or https://</source>
        <translation>L’URL doit commencer par http:// ou https://</translation>
    </message>
    <message>
        <source>Invalid URL format</source>
        <translation>Format d’URL non valide</translation>
    </message>
</context>
<context>
    <name>SessionHistory</name>
    <message>
        <source>Time</source>
        <translation>Heure</translation>
    </message>
    <message>
        <source>Demo</source>
        <translation>Démo</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modèle</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Texte</translation>
    </message>
    <message>
        <source>Second Text</source>
        <translation>Deuxième texte</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Résultat</translation>
    </message>
    <message>
        <source>Sentiment Analysis</source>
        <translation>Analyse de sentiment</translation>
    </message>
    <message>
        <source>Sentence Similarity</source>
        <translation>Similarité de phrases</translation>
    </message>
    <message>
        <source>Sentence Map</source>
        <translation>Carte des phrases</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Général</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modèle</translation>
    </message>
    <message>
        <source>Models for both demos</source>
        <translation>Modèles des deux démos</translation>
    </message>
    <message>
        <source>Server URL and language</source>
        <translation>URL du serveur et langue</translation>
    </message>
</context>
<context>
    <name>SimilarityDetailsPanel</name>
    <message>
        <source>Model</source>
        <translation>Modèle</translation>
    </message>
    <message>
        <source>The two vectors</source>
        <translation>Les deux vecteurs</translation>
    </message>
    <message>
        <source>First sentence, a</source>
        <translation>Première phrase, a</translation>
    </message>
    <message>
        <source>Second sentence, b</source>
        <translation>Deuxième phrase, b</translation>
    </message>
    <message>
        <source>The arithmetic</source>
        <translation>Le calcul</translation>
    </message>
    <message>
        <source>Length of a, ‖a‖</source>
        <translation>Longueur de a, ‖a‖</translation>
    </message>
    <message>
        <source>Length of b, ‖b‖</source>
        <translation>Longueur de b, ‖b‖</translation>
    </message>
    <message>
        <source>Dot product, a · b</source>
        <translation>Produit scalaire, a · b</translation>
    </message>
    <message>
        <source>Cosine, a · b ÷ (‖a‖ × ‖b‖)</source>
        <translation>Cosinus, a · b ÷ (‖a‖ × ‖b‖)</translation>
    </message>
    <message>
        <source>Kept within 0 to 1</source>
        <translation>Ramené entre 0 et 1</translation>
    </message>
    <message>
        <source>Percentage, cut off (picks the description)</source>
        <translation>Pourcentage, tronqué (choisit la description)</translation>
    </message>
    <message>
        <source>Percentage, rounded (shown on the gauge)</source>
        <translation>Pourcentage, arrondi (affiché sur la jauge)</translation>
    </message>
    <message>
        <source>How the similarity was computed</source>
        <translation>Comment la similarité a été calculée</translation>
    </message>
    <message>
        <source>%1, leading components</source>
        <translation>%1, premières composantes</translation>
    </message>
    <message>
        <source>not taken</source>
        <translation>non calculé</translation>
    </message>
</context>
<context>
    <name>SimilarityLegend</name>
    <message>
        <source>Colour scale</source>
        <translation>Échelle de couleurs</translation>
    </message>
    <message>
        <source>From dark violet for 0 % or less, through teal, to yellow for 100 %</source>
        <translation>Du violet foncé pour 0&#xa0;% ou moins, en passant par le bleu-vert, jusqu’au jaune pour 100&#xa0;%</translation>
    </message>
</context>
<context>
    <name>SimilarityMath</name>
    <message>
        <source>These sentences are nearly identical in meaning.</source>
        <translation>Ces phrases ont un sens presque identique.</translation>
    </message>
    <message>
        <source>These sentences are quite similar.</source>
        <translation>Ces phrases sont assez similaires.</translation>
    </message>
    <message>
        <source>These sentences have moderate similarity.</source>
        <translation>Ces phrases ont une similarité modérée.</translation>
    </message>
    <message>
        <source>These sentences have some similarity.</source>
        <translation>Ces phrases ont une certaine similarité.</translation>
    </message>
    <message>
        <source>These sentences are quite different.</source>
        <translation>Ces phrases sont assez différentes.</translation>
    </message>
</context>
<context>
    <name>SimilarityReadingText</name>
    <message>
        <source>(empty)</source>
        <translation>(vide)</translation>
    </message>
    <message>
        <source>1 dimension</source>
        <translation>1 dimension</translation>
    </message>
    <message numerus="yes">
        <source>%n dimensions</source>
        <translation>
            <numerusform>%n dimension</numerusform>
            <numerusform>%n dimensions</numerusform>
        </translation>
    </message>
    <message>
        <source>The description cuts the hundredfold value %1 off at the whole number and the gauge rounds it to the nearest; here both give %2, but they can differ by one.</source>
        <translation>La description tronque à l’entier la valeur multipliée par 100 (%1) et la jauge l’arrondit à l’entier le plus proche&#x202f;; ici, les deux donnent %2, mais elles peuvent différer de un.</translation>
    </message>
    <message>
        <source>The description cuts the hundredfold value %1 off at %2, while the gauge rounds it to %3, so the two differ by one.</source>
        <translation>La description tronque la valeur multipliée par 100 (%1) à %2, tandis que la jauge l’arrondit à %3&#xa0;: les deux diffèrent donc de un.</translation>
    </message>
    <message>
        <source>The vectors have different lengths (%1 and %2), so they cannot be compared and the cosine is taken as 0.</source>
        <translation>Les vecteurs ont des longueurs différentes (%1 et %2)&#xa0;: ils ne peuvent pas être comparés et le cosinus est pris égal à 0.</translation>
    </message>
    <message>
        <source>A vector with norm 0 has no direction, so no angle can be measured and the cosine is taken as 0.</source>
        <translation>Un vecteur de norme 0 n’a pas de direction&#xa0;: aucun angle ne peut être mesuré et le cosinus est pris égal à 0.</translation>
    </message>
</context>
<context>
    <name>TokenProbabilitiesSection</name>
    <message>
        <source>How sure was the model?</source>
        <translation>Le modèle était-il sûr de lui&#x202f;?</translation>
    </message>
    <message>
        <source>A language model gives every possible next token a probability and then draws one. This asks the model the same question once more and shows the odds it gave each rating.</source>
        <translation>Un modèle de langage attribue une probabilité à chaque jeton suivant possible, puis en tire un. On pose ici une nouvelle fois la même question au modèle pour montrer les chances qu’il a données à chaque note.</translation>
    </message>
    <message>
        <source>Show the model&apos;s probabilities</source>
        <translation>Afficher les probabilités du modèle</translation>
    </message>
    <message>
        <source>Candidates for the first token, as the server sent them</source>
        <translation>Candidats pour le premier jeton, tels que le serveur les a envoyés</translation>
    </message>
    <message>
        <source>Probability of each rating</source>
        <translation>Probabilité de chaque note</translation>
    </message>
    <message>
        <source>Candidates for the first token</source>
        <translation>Candidats pour le premier jeton</translation>
    </message>
    <message>
        <source>Token</source>
        <translation>Jeton</translation>
    </message>
    <message>
        <source>Log-probability</source>
        <translation>Log-probabilité</translation>
    </message>
    <message>
        <source>Probability</source>
        <translation>Probabilité</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Erreur&#xa0;: %1</translation>
    </message>
    <message>
        <source>Asking the model…</source>
        <translation>Interrogation du modèle…</translation>
    </message>
    <message>
        <source>The model&apos;s answer began with the token “%1”.</source>
        <translation>La réponse du modèle commençait par le jeton «&#xa0;%1&#xa0;».</translation>
    </message>
    <message>
        <source>Expected rating, an average among the ratings only (each weighted by its probability): %1</source>
        <translation>Note attendue, moyenne des seules notes (chacune pondérée par sa probabilité)&#xa0;: %1</translation>
    </message>
    <message>
        <source>Expected rating: none, no candidate is a rating.</source>
        <translation>Note attendue&#xa0;: aucune, aucun candidat n’est une note.</translation>
    </message>
</context>
<context>
    <name>TokenProbabilityText</name>
    <message>
        <source>This server does not send token probabilities. Newer Ollama versions do: update the server to see them.</source>
        <translation>Ce serveur n’envoie pas les probabilités des jetons. Les versions récentes d’Ollama le font&#xa0;: mettez le serveur à jour pour les voir.</translation>
    </message>
    <message>
        <source>The server sent token probabilities, but for no token other than white space, so there is nothing to show.</source>
        <translation>Le serveur a envoyé des probabilités de jetons, mais pour aucun jeton autre que des espaces&#xa0;: il n’y a donc rien à afficher.</translation>
    </message>
    <message>
        <source>The server sent no candidates for the model&apos;s first token, so there is nothing to show.</source>
        <translation>Le serveur n’a envoyé aucun candidat pour le premier jeton du modèle&#xa0;: il n’y a donc rien à afficher.</translation>
    </message>
    <message>
        <source>The server sent a log-probability that is not a finite number of zero or less, so the probabilities cannot be shown.</source>
        <translation>Le serveur a envoyé une log-probabilité qui n’est pas un nombre fini inférieur ou égal à zéro&#xa0;: les probabilités ne peuvent donc pas être affichées.</translation>
    </message>
    <message>
        <source>The server sent a token probability entry without its token, so the reply is unusable.</source>
        <translation>Le serveur a envoyé une entrée de probabilité de jeton sans son jeton&#xa0;: la réponse est donc inutilisable.</translation>
    </message>
    <message>
        <source>The server&apos;s candidates add up to far more than 100 %, which no set of probabilities does, so the reply is unusable.</source>
        <translation>Les candidats du serveur totalisent bien plus de 100&#xa0;%, ce qu’aucun ensemble de probabilités ne fait&#xa0;: la réponse est donc inutilisable.</translation>
    </message>
    <message>
        <source>This model reasons before it answers even when asked not to, so its first tokens are reasoning rather than the rating, and their probabilities would say nothing about it.</source>
        <translation>Ce modèle raisonne avant de répondre même quand on lui demande de ne pas le faire&#xa0;: ses premiers jetons sont donc du raisonnement et non la note, et leurs probabilités n’en diraient rien.</translation>
    </message>
    <message>
        <source>(empty)</source>
        <translation>(vide)</translation>
    </message>
    <message>
        <source>less than 1 percent</source>
        <translation>moins de 1 pour cent</translation>
    </message>
    <message>
        <source>more than 99 percent</source>
        <translation>plus de 99 pour cent</translation>
    </message>
    <message>
        <source>%1 percent</source>
        <translation>%1 pour cent</translation>
    </message>
    <message>
        <source>None of the model&apos;s most likely first tokens is a rating from 1 to 5, so its answer would not have been a rating.</source>
        <translation>Aucun des premiers jetons les plus probables du modèle n’est une note de 1 à 5&#xa0;: sa réponse n’aurait donc pas été une note.</translation>
    </message>
    <message>
        <source>The model gave %1 a probability of %2 and the other ratings almost none: it was sure of its answer</source>
        <translation>Le modèle a donné à la note %1 une probabilité de %2 et presque rien aux autres notes&#xa0;: il était sûr de sa réponse</translation>
    </message>
    <message>
        <source>The model gave %1 a probability of %2 and the other ratings almost none</source>
        <translation>Le modèle a donné à la note %1 une probabilité de %2 et presque rien aux autres notes</translation>
    </message>
    <message>
        <source>The model gave %1 a probability of %2 and %3 a probability of %4; the answer is drawn from these odds, so the same text can get another rating on another run</source>
        <translation>Le modèle a donné à la note %1 une probabilité de %2 et à la note %3 une probabilité de %4&#x202f;; la réponse est tirée selon ces chances, donc le même texte peut obtenir une autre note lors d’un autre essai</translation>
    </message>
    <message>
        <source>, and this time the draw gave %1</source>
        <translation>, et cette fois le tirage a donné %1</translation>
    </message>
    <message>
        <source>%1 of the probability went to tokens that are not ratings, so the answer might not have been a rating at all.</source>
        <translation>%1 de la probabilité revient à des jetons qui ne sont pas des notes&#xa0;: la réponse aurait donc pu ne pas être une note du tout.</translation>
    </message>
</context>
<context>
    <name>VectorStripView</name>
    <message>
        <source>First</source>
        <translation>Premier</translation>
    </message>
    <message>
        <source>Second</source>
        <translation>Deuxième</translation>
    </message>
    <message>
        <source>Color strips of the two vectors</source>
        <translation>Bandes de couleur des deux vecteurs</translation>
    </message>
    <message>
        <source>%1 vector: empty.</source>
        <translation>%1 vecteur&#xa0;: vide.</translation>
    </message>
    <message>
        <source>components</source>
        <translation>composantes</translation>
    </message>
    <message>
        <source>first %1 components</source>
        <translation>%1 premières composantes</translation>
    </message>
    <message>
        <source>%1 vector, %2; %3: %4.</source>
        <translation>%1 vecteur, %2&#x202f;; %3&#xa0;: %4.</translation>
    </message>
    <message>
        <source>%1 %2 Each cell is one dimension: blue below 0, red above 0, pale near 0.</source>
        <translation>%1 %2 Chaque case est une dimension&#xa0;: bleu en dessous de 0, rouge au-dessus de 0, pâle près de 0.</translation>
    </message>
    <message>
        <source>one cell per dimension, 0 in the middle</source>
        <translation>une case par dimension, 0 au milieu</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Interactive demos of transformer language models, driven by an Ollama server.</source>
        <translation>Démos interactives des modèles de langage transformeurs, pilotées par un serveur Ollama.</translation>
    </message>
</context>
</TS>
