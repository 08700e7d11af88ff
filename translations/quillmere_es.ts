<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>AboutView</name>
    <message>
        <source>Created by</source>
        <translation>Creado por</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Two demos to introduce important concepts about transformers</source>
        <translation>Dos demos para presentar conceptos importantes sobre los transformers</translation>
    </message>
    <message>
        <source>The Quillmere Team</source>
        <translation>El equipo de Quillmere</translation>
    </message>
</context>
<context>
    <name>AppInfo</name>
    <message>
        <source>Version %1 (%2)</source>
        <translation>Versión %1 (%2)</translation>
    </message>
</context>
<context>
    <name>BusyIndicator</name>
    <message>
        <source>Busy</source>
        <translation>Ocupado</translation>
    </message>
</context>
<context>
    <name>CircularProgressGauge</name>
    <message>
        <source>%1 percent</source>
        <translation>%1 por ciento</translation>
    </message>
</context>
<context>
    <name>ClientError</name>
    <message>
        <source>The operation could not be completed. (%1 error %2.)</source>
        <translation>No se ha podido completar la operación. (Error %1 %2.)</translation>
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
        <translation>Tipo de demo</translation>
    </message>
</context>
<context>
    <name>DemoScreen</name>
    <message>
        <source>How was this computed?</source>
        <translation>¿Cómo se ha calculado?</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>Read more in the Quillmere Guide</source>
        <translation>Más información en la Guía de Quillmere</translation>
    </message>
</context>
<context>
    <name>DemoType</name>
    <message>
        <source>Sentiment Analysis</source>
        <translation>Análisis de sentimiento</translation>
    </message>
    <message>
        <source>Sentence Similarity</source>
        <translation>Similitud de frases</translation>
    </message>
</context>
<context>
    <name>Examples</name>
    <message>
        <source>Clear Praise</source>
        <translation>Elogio claro</translation>
    </message>
    <message>
        <source>Plainly positive words: expect a high score.</source>
        <translation>Palabras claramente positivas: espera una puntuación alta.</translation>
    </message>
    <message>
        <source>Clear Complaint</source>
        <translation>Queja clara</translation>
    </message>
    <message>
        <source>Plainly negative words: expect a low score.</source>
        <translation>Palabras claramente negativas: espera una puntuación baja.</translation>
    </message>
    <message>
        <source>Neutral Fact</source>
        <translation>Hecho neutral</translation>
    </message>
    <message>
        <source>A report with no feelings in it: expect the middle of the scale.</source>
        <translation>Un relato sin sentimientos: espera el centro de la escala.</translation>
    </message>
    <message>
        <source>Negation</source>
        <translation>Negación</translation>
    </message>
    <message>
        <source>&quot;Bad&quot; appears, but &quot;not bad at all&quot; is praise: does the model read the whole phrase?</source>
        <translation>Aparece «bad» (malo), pero «not bad at all» (nada mal) es un elogio: ¿lee el modelo la frase entera?</translation>
    </message>
    <message>
        <source>Sarcasm</source>
        <translation>Sarcasmo</translation>
    </message>
    <message>
        <source>Positive words with a negative meaning: models often take them at face value.</source>
        <translation>Palabras positivas con sentido negativo: los modelos suelen tomarlas al pie de la letra.</translation>
    </message>
    <message>
        <source>Mixed Feelings</source>
        <translation>Sentimientos encontrados</translation>
    </message>
    <message>
        <source>Praise and complaint together: one number has to sum up both.</source>
        <translation>Elogio y queja a la vez: una sola cifra tiene que resumir ambos.</translation>
    </message>
    <message>
        <source>Torn Between Two Ratings</source>
        <translation>Entre dos valoraciones</translation>
    </message>
    <message>
        <source>One half praises, the other complains: under &quot;How sure was the model?&quot; the probability splits between two ratings.</source>
        <translation>Una mitad elogia y la otra se queja: en «¿Cuán seguro estaba el modelo?» la probabilidad se reparte entre dos valoraciones.</translation>
    </message>
    <message>
        <source>Paraphrase</source>
        <translation>Paráfrasis</translation>
    </message>
    <message>
        <source>Different words, same meaning: expect a high similarity.</source>
        <translation>Palabras distintas, mismo significado: espera una similitud alta.</translation>
    </message>
    <message>
        <source>One word flips the meaning, yet the vectors often stay close.</source>
        <translation>Una palabra invierte el significado, pero los vectores suelen quedar cerca.</translation>
    </message>
    <message>
        <source>Same Words, Different Meaning</source>
        <translation>Mismas palabras, otro significado</translation>
    </message>
    <message>
        <source>Every word is shared, but who did what to whom is not.</source>
        <translation>Comparten todas las palabras, pero no quién hizo qué a quién.</translation>
    </message>
    <message>
        <source>Unrelated</source>
        <translation>Sin relación</translation>
    </message>
    <message>
        <source>Nothing in common: expect a low similarity.</source>
        <translation>Nada en común: espera una similitud baja.</translation>
    </message>
    <message>
        <source>Translation</source>
        <translation>Traducción</translation>
    </message>
    <message>
        <source>The same sentence in English and French: a multilingual model places them close.</source>
        <translation>La misma frase en inglés y en francés: un modelo multilingüe las sitúa cerca.</translation>
    </message>
    <message>
        <source>Three Topics</source>
        <translation>Tres temas</translation>
    </message>
    <message>
        <source>Animals, vehicles and food: expect three groups on the map and three bright blocks in the grid.</source>
        <translation>Animales, vehículos y comida: espera tres grupos en el mapa y tres bloques claros en la cuadrícula.</translation>
    </message>
    <message>
        <source>Paraphrases and a Negation</source>
        <translation>Paráfrasis y una negación</translation>
    </message>
    <message>
        <source>Three ways to say one thing, its opposite and two strangers: the negation often lands right beside the paraphrases.</source>
        <translation>Tres formas de decir lo mismo, su contrario y dos frases ajenas: la negación suele caer justo al lado de las paráfrasis.</translation>
    </message>
    <message>
        <source>One Sentence, Several Languages</source>
        <translation>Una frase, varios idiomas</translation>
    </message>
    <message>
        <source>Two sentences, each in four languages: a multilingual model groups them by meaning, others by language.</source>
        <translation>Dos frases, cada una en cuatro idiomas: un modelo multilingüe las agrupa por significado; otros, por idioma.</translation>
    </message>
</context>
<context>
    <name>GuideWindow</name>
    <message>
        <source>Quillmere Guide</source>
        <translation>Guía de Quillmere</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>Session History</source>
        <translation>Historial de la sesión</translation>
    </message>
    <message>
        <source>Every analysis and calculation of this run, from every window. The list is kept only until Quillmere quits; export it to keep it.</source>
        <translation>Cada análisis y cálculo de esta sesión, de todas las ventanas. La lista solo se conserva hasta que cierras Quillmere; expórtala para guardarla.</translation>
    </message>
    <message>
        <source>Nothing analyzed yet</source>
        <translation>Aún no se ha analizado nada</translation>
    </message>
    <message>
        <source>Results from both demos appear here as soon as they come back.</source>
        <translation>Los resultados de las dos demos aparecen aquí en cuanto llegan.</translation>
    </message>
    <message>
        <source>&amp;Use Again</source>
        <translation>&amp;Usar de nuevo</translation>
    </message>
    <message>
        <source>Co&amp;py</source>
        <translation>Co&amp;piar</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;Vaciar</translation>
    </message>
    <message>
        <source>&amp;Export CSV…</source>
        <translation>&amp;Exportar CSV…</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copiar</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Historial</translation>
    </message>
    <message>
        <source>Newest first until sorted by a column. Enter uses a row again; Ctrl+C copies the selected rows.</source>
        <translation>Lo más reciente primero, hasta que ordenes por una columna. Enter vuelve a usar una fila; Ctrl+C copia las filas seleccionadas.</translation>
    </message>
    <message>
        <source>Put the selected row&apos;s texts back into its demo</source>
        <translation>Volver a poner los textos de la fila seleccionada en su demo</translation>
    </message>
    <message>
        <source>Copy the selected rows as tab-separated text (Ctrl+C)</source>
        <translation>Copiar las filas seleccionadas como texto separado por tabuladores (Ctrl+C)</translation>
    </message>
    <message>
        <source>Save the list as a CSV file</source>
        <translation>Guardar la lista como archivo CSV</translation>
    </message>
    <message>
        <source>Remove every row</source>
        <translation>Quitar todas las filas</translation>
    </message>
    <message>
        <source>Could not save %1: %2</source>
        <translation>No se ha podido guardar %1: %2</translation>
    </message>
    <message>
        <source>Saved 1 row to %1.</source>
        <translation>Se ha guardado 1 fila en %1.</translation>
    </message>
    <message numerus="yes">
        <source>Saved %n rows to %1.</source>
        <translation>
            <numerusform>Se ha guardado %n fila en %1.</numerusform>
            <numerusform>Se han guardado %n filas en %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>Export History</source>
        <translation>Exportar historial</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>Archivos CSV (*.csv);;Todos los archivos (*)</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Guardado</translation>
    </message>
    <message>
        <source>Not saved</source>
        <translation>No guardado</translation>
    </message>
</context>
<context>
    <name>HttpClient</name>
    <message>
        <source>The server did not answer in time (nothing arrived for %1 seconds).</source>
        <translation>El servidor no respondió a tiempo (no llegó nada durante %1&#xa0;segundos).</translation>
    </message>
    <message>
        <source>The server did not answer in time (nothing arrived for %1 ms).</source>
        <translation>El servidor no respondió a tiempo (no llegó nada durante %1&#xa0;ms).</translation>
    </message>
    <message>
        <source>The server&apos;s reply is larger than %1 and was refused.</source>
        <translation>La respuesta del servidor supera %1 y se ha rechazado.</translation>
    </message>
    <message>
        <source>The server redirected too many times.</source>
        <translation>El servidor redirigió demasiadas veces.</translation>
    </message>
    <message>
        <source>The server redirected from a secure address to an insecure one.</source>
        <translation>El servidor redirigió de una dirección segura a una insegura.</translation>
    </message>
</context>
<context>
    <name>JsonReading</name>
    <message>
        <source>The server&apos;s reply is not a JSON object or array (its top level is %1).</source>
        <translation>La respuesta del servidor no es un objeto ni un array JSON (su nivel superior es %1).</translation>
    </message>
    <message>
        <source>The server&apos;s reply is not valid JSON: %1</source>
        <translation>La respuesta del servidor no es JSON válido: %1</translation>
    </message>
    <message>
        <source>The server&apos;s reply could not be read: %1</source>
        <translation>No se ha podido leer la respuesta del servidor: %1</translation>
    </message>
</context>
<context>
    <name>LanguageSection</name>
    <message>
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>System default</source>
        <translation>Predeterminado del sistema</translation>
    </message>
    <message>
        <source>Windows, menus and explanations change at once. What is sent to the model stays in English, which models read best.</source>
        <translation>Las ventanas, los menús y las explicaciones cambian al instante. Lo que se envía al modelo sigue en inglés, el idioma que mejor leen los modelos.</translation>
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
        <translation>Herramientas</translation>
    </message>
    <message>
        <source>Vision</source>
        <translation>Visión</translation>
    </message>
    <message>
        <source>Thinking</source>
        <translation>Razonamiento</translation>
    </message>
    <message>
        <source>Details of %1</source>
        <translation>Detalles de %1</translation>
    </message>
    <message>
        <source>Family:</source>
        <translation>Familia:</translation>
    </message>
    <message>
        <source>Parameters:</source>
        <translation>Parámetros:</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Formato:</translation>
    </message>
    <message>
        <source>Capabilities:</source>
        <translation>Capacidades:</translation>
    </message>
</context>
<context>
    <name>ModelPicker</name>
    <message>
        <source>Select a model...</source>
        <translation>Elige un modelo...</translation>
    </message>
</context>
<context>
    <name>ModelSettingsView</name>
    <message>
        <source>Refresh Models</source>
        <translation>Actualizar modelos</translation>
    </message>
    <message>
        <source>Embedding Model</source>
        <translation>Modelo de embeddings</translation>
    </message>
    <message>
        <source>Select a model that supports embeddings (text to vector conversion)</source>
        <translation>Elige un modelo que admita embeddings (conversión de texto en vector)</translation>
    </message>
    <message>
        <source>No embedding models available. Please install an embedding model (e.g., nomic-embed-text, mxbai-embed-large)</source>
        <translation>No hay modelos de embeddings disponibles. Instala un modelo de embeddings (p.&#xa0;ej., nomic-embed-text, mxbai-embed-large)</translation>
    </message>
    <message>
        <source>Language Model (LLM)</source>
        <translation>Modelo de lenguaje (LLM)</translation>
    </message>
    <message>
        <source>Select a text-only language model (without vision or embedding capabilities)</source>
        <translation>Elige un modelo de lenguaje solo de texto (sin capacidades de visión ni de embeddings)</translation>
    </message>
    <message>
        <source>No compatible LLM models available. Please install a text-only model (e.g., llama3.2, mistral, qwen2.5)</source>
        <translation>No hay modelos de lenguaje compatibles. Instala un modelo solo de texto (p.&#xa0;ej., llama3.2, mistral, qwen2.5)</translation>
    </message>
    <message>
        <source>LLM Model</source>
        <translation>Modelo de lenguaje</translation>
    </message>
    <message>
        <source>Save Selection</source>
        <translation>Guardar selección</translation>
    </message>
    <message>
        <source>Stores both chosen models</source>
        <translation>Guarda los dos modelos elegidos</translation>
    </message>
    <message>
        <source>Loading models...</source>
        <translation>Cargando modelos...</translation>
    </message>
    <message>
        <source>Models loaded</source>
        <translation>Modelos cargados</translation>
    </message>
    <message>
        <source>Both models configured</source>
        <translation>Los dos modelos están configurados</translation>
    </message>
    <message>
        <source>Please select both models to use the app</source>
        <translation>Elige los dos modelos para usar la aplicación</translation>
    </message>
    <message>
        <source>Models not loaded</source>
        <translation>Modelos no cargados</translation>
    </message>
</context>
<context>
    <name>OllamaService</name>
    <message>
        <source>Failed to fetch models: %1</source>
        <translation>No se han podido obtener los modelos: %1</translation>
    </message>
    <message>
        <source>Invalid URL</source>
        <translation>URL no válida</translation>
    </message>
</context>
<context>
    <name>OllamaSettingsView</name>
    <message>
        <source>Local (default)</source>
        <translation>Local (predeterminado)</translation>
    </message>
    <message>
        <source>Custom port</source>
        <translation>Puerto personalizado</translation>
    </message>
    <message>
        <source>Remote server</source>
        <translation>Servidor remoto</translation>
    </message>
    <message>
        <source>Ollama Server URL</source>
        <translation>URL del servidor Ollama</translation>
    </message>
    <message>
        <source>Enter the URL where your Ollama server is running</source>
        <translation>Escribe la URL en la que se ejecuta tu servidor Ollama</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Restablecer</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Puts the default URL into the field</source>
        <translation>Pone la URL predeterminada en el campo</translation>
    </message>
    <message>
        <source>Stores the server URL</source>
        <translation>Guarda la URL del servidor</translation>
    </message>
    <message>
        <source>Examples</source>
        <translation>Ejemplos</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Settings saved! Restart the app to apply changes.</source>
        <translation>¡Ajustes guardados! Reinicia la aplicación para aplicar los cambios.</translation>
    </message>
    <message>
        <source>Set by your school&apos;s administrator.</source>
        <translation>Definido por el administrador de tu centro.</translation>
    </message>
</context>
<context>
    <name>PreferenceOptions</name>
    <message>
        <source>Store &lt;url&gt; as the Ollama server&apos;s address (http:// or https://), and exit.</source>
        <translation>Guarda &lt;url&gt; como dirección del servidor Ollama (http:// o https://) y sale.</translation>
    </message>
    <message>
        <source>url</source>
        <translation>url</translation>
    </message>
    <message>
        <source>Store &lt;name&gt; as the embedding model of the similarity demo, and exit.</source>
        <translation>Guarda &lt;nombre&gt; como modelo de embeddings de la demo de similitud y sale.</translation>
    </message>
    <message>
        <source>name</source>
        <translation>nombre</translation>
    </message>
    <message>
        <source>Store &lt;name&gt; as the language model of the sentiment demo, and exit.</source>
        <translation>Guarda &lt;nombre&gt; como modelo de lenguaje de la demo de sentimiento y sale.</translation>
    </message>
    <message>
        <source>Print the stored server address and model names (key=value lines), and exit. With --set-* options, after storing them.</source>
        <translation>Muestra la dirección del servidor y los nombres de los modelos guardados (líneas clave=valor) y sale. Con opciones --set-*, después de guardarlas.</translation>
    </message>
    <message>
        <source>Print what the system-wide settings file sets and locks (key=value lines), and exit.</source>
        <translation>Muestra lo que fija y bloquea el archivo de ajustes de todo el sistema (líneas clave=valor) y sale.</translation>
    </message>
    <message>
        <source>quillmere: --%1: set by your school&apos;s administrator in %2
</source>
        <translation>quillmere: --%1: definido por el administrador de tu centro en %2
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
        <translation>quillmere: --%1: el nombre del modelo está vacío
</translation>
    </message>
    <message>
        <source>quillmere: nothing was stored
</source>
        <translation>quillmere: no se ha guardado nada
</translation>
    </message>
    <message>
        <source>quillmere: the preferences could not be saved: %1
</source>
        <translation>quillmere: no se han podido guardar las preferencias: %1
</translation>
    </message>
</context>
<context>
    <name>ProbabilityBarChart</name>
    <message>
        <source>something else</source>
        <translation>otra cosa</translation>
    </message>
    <message>
        <source>Rating %1</source>
        <translation>Valoración %1</translation>
    </message>
    <message>
        <source>Something else</source>
        <translation>Otra cosa</translation>
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
        <translation>&amp;Nueva ventana</translation>
    </message>
    <message>
        <source>&amp;Close Window</source>
        <translation>&amp;Cerrar ventana</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>&amp;Settings…</source>
        <translation>&amp;Ajustes…</translation>
    </message>
    <message>
        <source>&amp;About Quillmere</source>
        <translation>&amp;Acerca de Quillmere</translation>
    </message>
    <message>
        <source>&amp;History</source>
        <translation>&amp;Historial</translation>
    </message>
    <message>
        <source>Sentence &amp;Map</source>
        <translation>&amp;Mapa de frases</translation>
    </message>
    <message>
        <source>Quillmere &amp;Guide</source>
        <translation>&amp;Guía de Quillmere</translation>
    </message>
    <message>
        <source>Every analysis and calculation of this run</source>
        <translation>Cada análisis y cálculo de esta sesión</translation>
    </message>
    <message>
        <source>Many sentences at once, as a grid and a map of meaning</source>
        <translation>Muchas frases a la vez, en una cuadrícula y un mapa de significado</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <source>About Quillmere</source>
        <translation>Acerca de Quillmere</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Editar</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ver</translation>
    </message>
    <message>
        <source>E&amp;xamples</source>
        <translation>E&amp;jemplos</translation>
    </message>
    <message>
        <source>Sentence Map</source>
        <translation>Mapa de frases</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ay&amp;uda</translation>
    </message>
    <message>
        <source>Zoom &amp;In (%1 %)</source>
        <translation>&amp;Ampliar (%1&#xa0;%)</translation>
    </message>
    <message>
        <source>Zoom &amp;Out (%1 %)</source>
        <translation>&amp;Reducir (%1&#xa0;%)</translation>
    </message>
    <message>
        <source>&amp;Actual Size (%1 %)</source>
        <translation>&amp;Tamaño real (%1&#xa0;%)</translation>
    </message>
    <message>
        <source>&amp;Full Screen</source>
        <translation>&amp;Pantalla completa</translation>
    </message>
</context>
<context>
    <name>SamplingLab</name>
    <message>
        <source>Rating %1</source>
        <translation>Valoración %1</translation>
    </message>
    <message>
        <source>Something else with these settings: %1</source>
        <translation>Otra cosa con estos ajustes: %1</translation>
    </message>
    <message>
        <source>Rating %1 with these settings: %2</source>
        <translation>Valoración %1 con estos ajustes: %2</translation>
    </message>
    <message>
        <source>something else</source>
        <translation>otra cosa</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 de %2</translation>
    </message>
    <message>
        <source>no number</source>
        <translation>sin número</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>No number</source>
        <translation>Sin número</translation>
    </message>
    <message>
        <source>%1 of %2 answers had no number; the odds said %3.</source>
        <translation>%1 de %2 respuestas no tenían número; las probabilidades decían %3.</translation>
    </message>
    <message>
        <source>%1 of %2 answers were %3; the odds said %4.</source>
        <translation>%1 de %2 respuestas fueron %3; las probabilidades decían %4.</translation>
    </message>
    <message>
        <source>%1 ×%2</source>
        <translation>%1 ×%2</translation>
    </message>
    <message>
        <source>How does the model pick one answer?</source>
        <translation>¿Cómo elige el modelo una respuesta?</translation>
    </message>
    <message>
        <source>The server draws the answer from these odds after its sampling settings reshape them. Move the settings to see how; then ask the model several times to see the draws follow the odds.</source>
        <translation>El servidor sortea la respuesta según estas probabilidades, después de que sus ajustes de muestreo las transformen. Mueve los ajustes para ver cómo; luego pregunta al modelo varias veces para ver que los sorteos siguen las probabilidades.</translation>
    </message>
    <message>
        <source>The odds with these settings</source>
        <translation>Las probabilidades con estos ajustes</translation>
    </message>
    <message>
        <source>A temperature near 0 gives the top candidate all the odds: the model always answers the same. A high one flattens the odds, so less likely ratings come up more often.</source>
        <translation>Una temperatura cercana a 0 da toda la probabilidad al candidato más probable: el modelo siempre responde lo mismo. Una temperatura alta aplana las probabilidades, así que las valoraciones menos probables salen más a menudo.</translation>
    </message>
    <message>
        <source>Ask the model many times</source>
        <translation>Preguntar al modelo muchas veces</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <source>Thick bars: the answers. Thin bars: the odds with the settings the run used.</source>
        <translation>Barras gruesas: las respuestas. Barras finas: las probabilidades con los ajustes que usó la serie.</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Desactivado</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatura</translation>
    </message>
    <message>
        <source>Low sharpens the odds toward the top candidate; high flattens them.</source>
        <translation>Baja: concentra las probabilidades en el candidato más probable; alta: las aplana.</translation>
    </message>
    <message>
        <source>Top-k</source>
        <translation>Top-k</translation>
    </message>
    <message>
        <source>Only the k most likely candidates may be drawn; Off keeps them all.</source>
        <translation>Solo pueden salir los k candidatos más probables; «Desactivado» los conserva todos.</translation>
    </message>
    <message>
        <source>Top-p</source>
        <translation>Top-p</translation>
    </message>
    <message>
        <source>Only the most likely candidates whose shares add up to p may be drawn.</source>
        <translation>Solo pueden salir los candidatos más probables cuyas partes suman p.</translation>
    </message>
    <message>
        <source>Probability of each rating with these settings</source>
        <translation>Probabilidad de cada valoración con estos ajustes</translation>
    </message>
    <message>
        <source>Answers the model gave</source>
        <translation>Respuestas que dio el modelo</translation>
    </message>
    <message>
        <source>Number of requests</source>
        <translation>Número de peticiones</translation>
    </message>
    <message numerus="yes">
        <source>%n times</source>
        <translation>
            <numerusform>%n vez</numerusform>
            <numerusform>%n veces</numerusform>
        </translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progreso</translation>
    </message>
    <message numerus="yes">
        <source>Asked %n times with %1: %2</source>
        <translation>
            <numerusform>Preguntado %n vez con %1: %2</numerusform>
            <numerusform>Preguntado %n veces con %1: %2</numerusform>
        </translation>
    </message>
    <message>
        <source>Left out: the %1 of probability on tokens the server did not list; the settings can only reshape the candidates it listed.</source>
        <translation>Fuera del cálculo: el %1 de probabilidad de los tokens que el servidor no listó; los ajustes solo pueden transformar los candidatos que listó.</translation>
    </message>
    <message numerus="yes">
        <source>Ask %n Times</source>
        <translation>
            <numerusform>Preguntar %n vez</numerusform>
            <numerusform>Preguntar %n veces</numerusform>
        </translation>
    </message>
    <message>
        <source>Stopped at %1</source>
        <translation>Detenido en %1</translation>
    </message>
</context>
<context>
    <name>SamplingRun</name>
    <message>
        <source>Error: %1</source>
        <translation>Error: %1</translation>
    </message>
</context>
<context>
    <name>SamplingText</name>
    <message>
        <source>off</source>
        <translation>desactivado</translation>
    </message>
    <message>
        <source>temperature %1, top-k %2, top-p %3</source>
        <translation>temperatura %1, top-k %2, top-p %3</translation>
    </message>
    <message>
        <source>temperature</source>
        <translation>temperatura</translation>
    </message>
    <message>
        <source>top-k</source>
        <translation>top-k</translation>
    </message>
    <message>
        <source>top-p</source>
        <translation>top-p</translation>
    </message>
    <message>
        <source>Starting from the model&apos;s own settings: %1.</source>
        <translation>Se parte de los ajustes propios del modelo: %1.</translation>
    </message>
    <message>
        <source>Starting from the server&apos;s defaults (%1): the model lists no settings of its own.</source>
        <translation>Se parte de los valores predeterminados del servidor (%1): el modelo no indica ajustes propios.</translation>
    </message>
    <message>
        <source>Starting from the model&apos;s own %1 and the server&apos;s default %2: %3.</source>
        <translation>Se parte del valor propio del modelo para %1 y del predeterminado del servidor para %2: %3.</translation>
    </message>
    <message>
        <source> and </source>
        <translation> y </translation>
    </message>
    <message>
        <source>A top-k of %1 keeps every listed candidate, the same as off.</source>
        <translation>Un top-k de %1 conserva todos los candidatos listados, igual que desactivado.</translation>
    </message>
    <message>
        <source>No candidate that these settings keep is a rating, so no answer drawn with them would be a number.</source>
        <translation>Ninguno de los candidatos que conservan estos ajustes es una valoración, así que ninguna respuesta sorteada con ellos sería un número.</translation>
    </message>
    <message>
        <source>Top-k %1 keeps the %2 most likely of the %3 listed candidates</source>
        <translation>Top-k %1 conserva los %2 más probables de los %3 candidatos listados</translation>
    </message>
    <message>
        <source>Top-k is off, so all %1 listed candidates stay</source>
        <translation>Top-k está desactivado, así que se quedan los %1 candidatos listados</translation>
    </message>
    <message>
        <source>top-p %1 then keeps the %2 most likely whose shares reach %1</source>
        <translation>después, top-p %1 conserva los %2 más probables cuyas partes llegan a %1</translation>
    </message>
    <message>
        <source>Each kept candidate weighs exp(log-probability ÷ %1). Rating %2 (%3) weighs %4 of %5 in all, so its share is %4 ÷ %5 = %6.</source>
        <translation>Cada candidato conservado pesa exp(log-probabilidad ÷ %1). La valoración %2 (%3) pesa %4 de %5 en total, así que su parte es %4 ÷ %5 = %6.</translation>
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
        <translation>La respuesta del servidor no es JSON válido: %1</translation>
    </message>
    <message>
        <source>The server&apos;s reply is not a JSON object or array (its top level is %1).</source>
        <translation>La respuesta del servidor no es un objeto ni un array JSON (su nivel superior es %1).</translation>
    </message>
    <message>
        <source>The server said: %1</source>
        <translation>El servidor respondió: %1</translation>
    </message>
    <message>
        <source>The server sent %1 vectors for %2 sentences.</source>
        <translation>El servidor envió %1 vectores para %2 frases.</translation>
    </message>
    <message>
        <source>The vector of sentence %1 is empty.</source>
        <translation>El vector de la frase %1 está vacío.</translation>
    </message>
    <message>
        <source>The vectors differ in length (%1 for sentence 1, %2 for sentence %3).</source>
        <translation>Los vectores tienen longitudes distintas (%1 para la frase 1, %2 para la frase %3).</translation>
    </message>
    <message>
        <source>The vector of sentence %1 holds a value that is not a finite 32-bit number.</source>
        <translation>El vector de la frase %1 contiene un valor que no es un número finito de 32 bits.</translation>
    </message>
</context>
<context>
    <name>SentenceMap</name>
    <message>
        <source>%1 is closest to %2, %3</source>
        <translation>La %1 está más cerca de la %2, %3</translation>
    </message>
    <message>
        <source>These sentences&apos; vectors do not spread out at all, so every point sits in the middle.</source>
        <translation>Los vectores de estas frases no se dispersan nada, así que todos los puntos quedan en el centro.</translation>
    </message>
    <message>
        <source>These two directions hold %1 % of the spread.</source>
        <translation>Estas dos direcciones recogen el %1&#xa0;% de la dispersión.</translation>
    </message>
</context>
<context>
    <name>SentenceMapPlot</name>
    <message>
        <source>Map of meaning</source>
        <translation>Mapa de significado</translation>
    </message>
    <message>
        <source>Direction 1 → (%1 of the spread)</source>
        <translation>Dirección 1 → (%1 de la dispersión)</translation>
    </message>
    <message>
        <source>Direction 2 → (%1 of the spread)</source>
        <translation>Dirección 2 → (%1 de la dispersión)</translation>
    </message>
    <message>
        <source>Point at a dot, or Tab to it, to read its whole sentence.</source>
        <translation>Señala un punto, o llega a él con Tab, para leer su frase completa.</translation>
    </message>
</context>
<context>
    <name>SentenceMapWindow</name>
    <message>
        <source>Sentence Map</source>
        <translation>Mapa de frases</translation>
    </message>
    <message numerus="yes">
        <source>%n sentences</source>
        <translation>
            <numerusform>%n frase</numerusform>
            <numerusform>%n frases</numerusform>
        </translation>
    </message>
    <message>
        <source>%1, closest %2 and %3 at %4</source>
        <translation>%1; las más cercanas, %2 y %3, con %4</translation>
    </message>
    <message>
        <source>Type 3 to 16 sentences, one per line. The embedding model turns each into a vector; the grid compares every pair, and the map lays the vectors out flat, so that sentences with similar meanings sit close together.</source>
        <translation>Escribe de 3 a 16 frases, una por línea. El modelo de embeddings convierte cada una en un vector; la cuadrícula compara cada par, y el mapa extiende los vectores sobre un plano, de modo que las frases de significado parecido quedan juntas.</translation>
    </message>
    <message>
        <source>The offline stand-in serves these vectors: it knows English words and their kinds, not sentences, other languages or negation.</source>
        <translation>Estos vectores vienen del sustituto sin conexión: conoce palabras inglesas y sus clases, pero no frases, otros idiomas ni la negación.</translation>
    </message>
    <message>
        <source>The grid of similarities and the map of meaning appear here once the sentences are mapped.</source>
        <translation>La cuadrícula de similitudes y el mapa de significado aparecen aquí cuando las frases están mapeadas.</translation>
    </message>
    <message>
        <source>Bright cells are pairs with close meanings. Look for bright blocks away from the diagonal: groups of sentences about the same thing. The diagonal is each sentence against itself.</source>
        <translation>Las celdas claras son pares de significado cercano. Busca bloques claros fuera de la diagonal: grupos de frases sobre lo mismo. La diagonal es cada frase frente a sí misma.</translation>
    </message>
    <message>
        <source>Look for clusters: sentences about the same thing gather, and the gaps between groups are what the model tells apart. Two directions cannot hold everything, so distances are only roughly right.</source>
        <translation>Busca agrupaciones: las frases sobre lo mismo se juntan, y los huecos entre grupos son lo que el modelo distingue. Dos direcciones no pueden recogerlo todo, así que las distancias solo son aproximadas.</translation>
    </message>
    <message>
        <source>Export Matrix CSV…</source>
        <translation>Exportar matriz CSV…</translation>
    </message>
    <message>
        <source>Export Map PNG…</source>
        <translation>Exportar mapa PNG…</translation>
    </message>
    <message>
        <source>Sentences, one per line</source>
        <translation>Frases, una por línea</translation>
    </message>
    <message>
        <source>The cat sat on the mat.
A dog slept by the fire.
The train leaves at seven.</source>
        <translation>El gato se sentó en la alfombra.
Un perro dormía junto al fuego.
El tren sale a las siete.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>No embedding model selected</source>
        <translation>No hay ningún modelo de embeddings elegido</translation>
    </message>
    <message>
        <source>Please select an embedding model in Settings to map sentences.</source>
        <translation>Elige un modelo de embeddings en Ajustes para mapear frases.</translation>
    </message>
    <message>
        <source>Map of Meaning</source>
        <translation>Mapa de significado</translation>
    </message>
    <message>
        <source>Sentences</source>
        <translation>Frases</translation>
    </message>
    <message>
        <source>Nearest Neighbours</source>
        <translation>Vecinos más cercanos</translation>
    </message>
    <message>
        <source>Nearest neighbours</source>
        <translation>Vecinos más cercanos</translation>
    </message>
    <message>
        <source>Save the grid of similarities as a CSV file</source>
        <translation>Guardar la cuadrícula de similitudes como archivo CSV</translation>
    </message>
    <message>
        <source>Save the map as a PNG picture</source>
        <translation>Guardar el mapa como imagen PNG</translation>
    </message>
    <message>
        <source>Similarity Matrix</source>
        <translation>Matriz de similitud</translation>
    </message>
    <message>
        <source>Similarity matrix</source>
        <translation>Matriz de similitud</translation>
    </message>
    <message>
        <source>Please select an embedding model in Settings</source>
        <translation>Elige un modelo de embeddings en Ajustes</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Error: %1</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1 and %2: %3
%1: %4
%2: %5</source>
        <translation>%1 y %2: %3
%1: %4
%2: %5</translation>
    </message>
    <message>
        <source>Sentence %1, &quot;%2&quot;, and sentence %3, &quot;%4&quot;: %5</source>
        <translation>Frase %1, «%2», y frase %3, «%4»: %5</translation>
    </message>
    <message>
        <source>Nothing to save yet: map some sentences first.</source>
        <translation>Aún no hay nada que guardar: primero mapea algunas frases.</translation>
    </message>
    <message>
        <source>Could not save %1: %2</source>
        <translation>No se ha podido guardar %1: %2</translation>
    </message>
    <message>
        <source>Saved the matrix to %1.</source>
        <translation>Se ha guardado la matriz en %1.</translation>
    </message>
    <message>
        <source>Could not save %1: the picture could not be made.</source>
        <translation>No se ha podido guardar %1: no se ha podido crear la imagen.</translation>
    </message>
    <message>
        <source>Saved the map to %1.</source>
        <translation>Se ha guardado el mapa en %1.</translation>
    </message>
    <message>
        <source>Export Matrix</source>
        <translation>Exportar matriz</translation>
    </message>
    <message>
        <source>Export Map</source>
        <translation>Exportar mapa</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>Archivos CSV (*.csv);;Todos los archivos (*)</translation>
    </message>
    <message>
        <source>PNG pictures (*.png);;All files (*)</source>
        <translation>Imágenes PNG (*.png);;Todos los archivos (*)</translation>
    </message>
    <message>
        <source>Type 3 to 16 sentences, one per line; blank lines are skipped.</source>
        <translation>Escribe de 3 a 16 frases, una por línea; las líneas en blanco se omiten.</translation>
    </message>
    <message numerus="yes">
        <source>%n of at least 3 sentences.</source>
        <translation>
            <numerusform>%n de al menos 3 frases.</numerusform>
            <numerusform>%n de al menos 3 frases.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n sentences: one map holds at most 16, so remove %1.</source>
        <translation>
            <numerusform>%n frase: un mapa admite como máximo 16, así que quita %1.</numerusform>
            <numerusform>%n frases: un mapa admite como máximo 16, así que quita %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n sentences.</source>
        <translation>
            <numerusform>%n frase.</numerusform>
            <numerusform>%n frases.</numerusform>
        </translation>
    </message>
    <message>
        <source>Mapping...</source>
        <translation>Mapeando...</translation>
    </message>
    <message>
        <source>Map Sentences</source>
        <translation>Mapear frases</translation>
    </message>
    <message>
        <source>%1  %2</source>
        <translation>%1  %2</translation>
    </message>
    <message>
        <source>Nearest neighbours: %1</source>
        <translation>Vecinos más cercanos: %1</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Guardado</translation>
    </message>
    <message>
        <source>Not saved</source>
        <translation>No guardado</translation>
    </message>
</context>
<context>
    <name>SentenceSimilarityView</name>
    <message>
        <source>Sentence Similarity Demo</source>
        <translation>Demo de similitud de frases</translation>
    </message>
    <message>
        <source>This demo uses embeddings to measure how similar two sentences are. Embeddings convert text into numerical vectors, and cosine similarity measures the angle between these vectors (0% = completely different, 100% = identical).</source>
        <translation>Esta demo usa embeddings para medir cuánto se parecen dos frases. Los embeddings convierten el texto en vectores numéricos, y la similitud coseno mide el ángulo entre esos vectores (0&#xa0;% = completamente distintas, 100&#xa0;% = idénticas).</translation>
    </message>
    <message>
        <source>Calculate Similarity</source>
        <translation>Calcular similitud</translation>
    </message>
    <message>
        <source>Calculating...</source>
        <translation>Calculando...</translation>
    </message>
    <message>
        <source>Similarity Score:</source>
        <translation>Puntuación de similitud:</translation>
    </message>
    <message>
        <source>Shows both vectors and each step from them to the percentage</source>
        <translation>Muestra los dos vectores y cada paso desde ellos hasta el porcentaje</translation>
    </message>
    <message>
        <source>No embedding model selected</source>
        <translation>No hay ningún modelo de embeddings elegido</translation>
    </message>
    <message>
        <source>Please select an embedding model in Settings to use this demo.</source>
        <translation>Elige un modelo de embeddings en Ajustes para usar esta demo.</translation>
    </message>
    <message>
        <source>First Sentence:</source>
        <translation>Primera frase:</translation>
    </message>
    <message>
        <source>Example: &quot;The cat sat on the mat&quot;</source>
        <translation>Ejemplo: «El gato se sentó en la alfombra»</translation>
    </message>
    <message>
        <source>Second Sentence:</source>
        <translation>Segunda frase:</translation>
    </message>
    <message>
        <source>Example: &quot;A feline rested on the rug&quot;</source>
        <translation>Ejemplo: «Un felino descansaba sobre el tapete»</translation>
    </message>
    <message>
        <source>Compare more sentences in the Sentence Map…</source>
        <translation>Comparar más frases en el Mapa de frases…</translation>
    </message>
    <message>
        <source>Please select an embedding model in Settings</source>
        <translation>Elige un modelo de embeddings en Ajustes</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Error: %1</translation>
    </message>
    <message>
        <source>Similarity %1</source>
        <translation>Similitud %1</translation>
    </message>
</context>
<context>
    <name>SentimentAnalysisView</name>
    <message>
        <source>Sentiment Analysis Demo</source>
        <translation>Demo de análisis de sentimiento</translation>
    </message>
    <message>
        <source>This demo uses a language model to analyze the sentiment of text. Enter any text below and click &apos;Analyze&apos; to determine if it&apos;s positive, negative, or neutral.</source>
        <translation>Esta demo usa un modelo de lenguaje para analizar el sentimiento de un texto. Escribe cualquier texto abajo y pulsa «Analizar sentimiento» para saber si es positivo, negativo o neutral.</translation>
    </message>
    <message>
        <source>Analyze Sentiment</source>
        <translation>Analizar sentimiento</translation>
    </message>
    <message>
        <source>Analyzing...</source>
        <translation>Analizando...</translation>
    </message>
    <message>
        <source>Sentiment Analysis:</source>
        <translation>Análisis de sentimiento:</translation>
    </message>
    <message>
        <source>Shows the prompt, the model&apos;s answer and how the score was read from it</source>
        <translation>Muestra el prompt, la respuesta del modelo y cómo se leyó de ella la puntuación</translation>
    </message>
    <message>
        <source>No LLM model selected</source>
        <translation>No hay ningún modelo de lenguaje elegido</translation>
    </message>
    <message>
        <source>Please select a language model in Settings to use this demo.</source>
        <translation>Elige un modelo de lenguaje en Ajustes para usar esta demo.</translation>
    </message>
    <message>
        <source>Tell me about your recent vacations:</source>
        <translation>Cuéntame tus últimas vacaciones:</translation>
    </message>
    <message>
        <source>Example: &quot;I love this beautiful sunny day!&quot;</source>
        <translation>Ejemplo: «¡Me encanta este precioso día de sol!»</translation>
    </message>
    <message>
        <source>Star %1</source>
        <translation>Estrella %1</translation>
    </message>
    <message>
        <source>Please select an LLM model in Settings</source>
        <translation>Elige un modelo de lenguaje en Ajustes</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Error: %1</translation>
    </message>
    <message>
        <source>%1 of 5 stars, %2</source>
        <translation>%1 de 5 estrellas, %2</translation>
    </message>
</context>
<context>
    <name>SentimentDetailsPanel</name>
    <message>
        <source>Model</source>
        <translation>Modelo</translation>
    </message>
    <message>
        <source>Prompt sent to the model</source>
        <translation>Prompt enviado al modelo</translation>
    </message>
    <message>
        <source>Your text is highlighted; everything around it is the same for every analysis.</source>
        <translation>Tu texto está resaltado; todo lo que lo rodea es igual en cada análisis.</translation>
    </message>
    <message>
        <source>The model&apos;s reasoning</source>
        <translation>El razonamiento del modelo</translation>
    </message>
    <message>
        <source>The model reasoned before it answered; writing that reasoning is why a thinking model takes longer.</source>
        <translation>El modelo razonó antes de responder; escribir ese razonamiento es lo que hace tardar más a un modelo de razonamiento.</translation>
    </message>
    <message>
        <source>The model&apos;s answer, exactly as received</source>
        <translation>La respuesta del modelo, tal como llegó</translation>
    </message>
    <message>
        <source>Reading the answer</source>
        <translation>Lectura de la respuesta</translation>
    </message>
    <message>
        <source>1. First line, trimmed</source>
        <translation>1. Primera línea, sin espacios en los extremos</translation>
    </message>
    <message>
        <source>2. Stripped of . ! ? , &quot; &apos; and spaces at both ends</source>
        <translation>2. Sin . ! ? , &quot; &apos; ni espacios en ambos extremos</translation>
    </message>
    <message>
        <source>3. Score</source>
        <translation>3. Puntuación</translation>
    </message>
    <message>
        <source>Server timing</source>
        <translation>Tiempos del servidor</translation>
    </message>
    <message>
        <source>How the score was computed</source>
        <translation>Cómo se ha calculado la puntuación</translation>
    </message>
    <message>
        <source>(empty answer)</source>
        <translation>(respuesta vacía)</translation>
    </message>
    <message>
        <source>(empty)</source>
        <translation>(vacío)</translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation>«%1»</translation>
    </message>
    <message>
        <source>%1 The prompt stays in English, which models read best.</source>
        <translation>%1 El prompt se queda en inglés, el idioma que mejor leen los modelos.</translation>
    </message>
</context>
<context>
    <name>SentimentReadingText</name>
    <message>
        <source>read as %1</source>
        <translation>leído como %1</translation>
    </message>
    <message>
        <source>nothing is left to read, so the neutral fallback %1 was used</source>
        <translation>no queda nada que leer, así que se usó el valor neutro de reserva, %1</translation>
    </message>
    <message>
        <source>not a whole number from 1 to 5, so the neutral fallback %1 was used</source>
        <translation>no es un número entero del 1 al 5, así que se usó el valor neutro de reserva, %1</translation>
    </message>
    <message>
        <source>%1 ns</source>
        <translation>%1 ns</translation>
    </message>
    <message>
        <source>%1 µs</source>
        <translation>%1 µs</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>total %1</source>
        <translation>total %1</translation>
    </message>
    <message>
        <source>model load %1</source>
        <translation>carga del modelo %1</translation>
    </message>
    <message>
        <source>1 token generated</source>
        <translation>1 token generado</translation>
    </message>
    <message numerus="yes">
        <source>%n tokens generated</source>
        <translation>
            <numerusform>%n token generado</numerusform>
            <numerusform>%n tokens generados</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SentimentScore</name>
    <message>
        <source>Very Negative</source>
        <translation>Muy negativo</translation>
    </message>
    <message>
        <source>Negative</source>
        <translation>Negativo</translation>
    </message>
    <message>
        <source>Neutral</source>
        <translation>Neutral</translation>
    </message>
    <message>
        <source>Positive</source>
        <translation>Positivo</translation>
    </message>
    <message>
        <source>Very Positive</source>
        <translation>Muy positivo</translation>
    </message>
    <message>
        <source>This text expresses strong negative emotions or opinions.</source>
        <translation>Este texto expresa emociones u opiniones muy negativas.</translation>
    </message>
    <message>
        <source>This text leans toward negative sentiment.</source>
        <translation>Este texto tiende a un sentimiento negativo.</translation>
    </message>
    <message>
        <source>This text is neutral, with balanced or factual tone.</source>
        <translation>Este texto es neutral, de tono equilibrado u objetivo.</translation>
    </message>
    <message>
        <source>This text leans toward positive sentiment.</source>
        <translation>Este texto tiende a un sentimiento positivo.</translation>
    </message>
    <message>
        <source>This text expresses strong positive emotions or opinions.</source>
        <translation>Este texto expresa emociones u opiniones muy positivas.</translation>
    </message>
</context>
<context>
    <name>ServerEndpoint</name>
    <message>
        <source>URL must start with http:// or https://</source>
        <translation>La URL debe empezar por http:// o https://</translation>
    </message>
    <message>
        <source>Invalid URL format</source>
        <translation>Formato de URL no válido</translation>
    </message>
</context>
<context>
    <name>SessionHistory</name>
    <message>
        <source>Time</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>Demo</source>
        <translation>Demo</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modelo</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Texto</translation>
    </message>
    <message>
        <source>Second Text</source>
        <translation>Segundo texto</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Resultado</translation>
    </message>
    <message>
        <source>Sentiment Analysis</source>
        <translation>Análisis de sentimiento</translation>
    </message>
    <message>
        <source>Sentence Similarity</source>
        <translation>Similitud de frases</translation>
    </message>
    <message>
        <source>Sentence Map</source>
        <translation>Mapa de frases</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Settings</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modelo</translation>
    </message>
    <message>
        <source>Models for both demos</source>
        <translation>Modelos para las dos demos</translation>
    </message>
    <message>
        <source>Server URL and language</source>
        <translation>URL del servidor e idioma</translation>
    </message>
</context>
<context>
    <name>SimilarityDetailsPanel</name>
    <message>
        <source>Model</source>
        <translation>Modelo</translation>
    </message>
    <message>
        <source>The two vectors</source>
        <translation>Los dos vectores</translation>
    </message>
    <message>
        <source>First sentence, a</source>
        <translation>Primera frase, a</translation>
    </message>
    <message>
        <source>Second sentence, b</source>
        <translation>Segunda frase, b</translation>
    </message>
    <message>
        <source>The arithmetic</source>
        <translation>El cálculo</translation>
    </message>
    <message>
        <source>Length of a, ‖a‖</source>
        <translation>Longitud de a, ‖a‖</translation>
    </message>
    <message>
        <source>Length of b, ‖b‖</source>
        <translation>Longitud de b, ‖b‖</translation>
    </message>
    <message>
        <source>Dot product, a · b</source>
        <translation>Producto escalar, a · b</translation>
    </message>
    <message>
        <source>Cosine, a · b ÷ (‖a‖ × ‖b‖)</source>
        <translation>Coseno, a · b ÷ (‖a‖ × ‖b‖)</translation>
    </message>
    <message>
        <source>Kept within 0 to 1</source>
        <translation>Acotado entre 0 y 1</translation>
    </message>
    <message>
        <source>Percentage, cut off (picks the description)</source>
        <translation>Porcentaje, truncado (elige la descripción)</translation>
    </message>
    <message>
        <source>Percentage, rounded (shown on the gauge)</source>
        <translation>Porcentaje, redondeado (el del indicador)</translation>
    </message>
    <message>
        <source>How the similarity was computed</source>
        <translation>Cómo se ha calculado la similitud</translation>
    </message>
    <message>
        <source>%1, leading components</source>
        <translation>%1, primeros componentes</translation>
    </message>
    <message>
        <source>not taken</source>
        <translation>no calculado</translation>
    </message>
</context>
<context>
    <name>SimilarityLegend</name>
    <message>
        <source>Colour scale</source>
        <translation>Escala de colores</translation>
    </message>
    <message>
        <source>From dark violet for 0 % or less, through teal, to yellow for 100 %</source>
        <translation>Del violeta oscuro para 0&#xa0;% o menos, pasando por el verde azulado, al amarillo para 100&#xa0;%</translation>
    </message>
</context>
<context>
    <name>SimilarityMath</name>
    <message>
        <source>These sentences are nearly identical in meaning.</source>
        <translation>Estas frases tienen un significado casi idéntico.</translation>
    </message>
    <message>
        <source>These sentences are quite similar.</source>
        <translation>Estas frases son bastante parecidas.</translation>
    </message>
    <message>
        <source>These sentences have moderate similarity.</source>
        <translation>Estas frases tienen una similitud moderada.</translation>
    </message>
    <message>
        <source>These sentences have some similarity.</source>
        <translation>Estas frases tienen cierta similitud.</translation>
    </message>
    <message>
        <source>These sentences are quite different.</source>
        <translation>Estas frases son bastante diferentes.</translation>
    </message>
</context>
<context>
    <name>SimilarityReadingText</name>
    <message>
        <source>(empty)</source>
        <translation>(vacío)</translation>
    </message>
    <message>
        <source>1 dimension</source>
        <translation>1 dimensión</translation>
    </message>
    <message numerus="yes">
        <source>%n dimensions</source>
        <translation>
            <numerusform>%n dimensión</numerusform>
            <numerusform>%n dimensiones</numerusform>
        </translation>
    </message>
    <message>
        <source>The description cuts the hundredfold value %1 off at the whole number and the gauge rounds it to the nearest; here both give %2, but they can differ by one.</source>
        <translation>La descripción trunca el valor multiplicado por cien, %1, a su parte entera, y el indicador lo redondea al entero más cercano; aquí ambos dan %2, pero pueden diferir en uno.</translation>
    </message>
    <message>
        <source>The description cuts the hundredfold value %1 off at %2, while the gauge rounds it to %3, so the two differ by one.</source>
        <translation>La descripción trunca el valor multiplicado por cien, %1, en %2, mientras que el indicador lo redondea a %3, así que los dos difieren en uno.</translation>
    </message>
    <message>
        <source>The vectors have different lengths (%1 and %2), so they cannot be compared and the cosine is taken as 0.</source>
        <translation>Los vectores tienen longitudes distintas (%1 y %2), así que no se pueden comparar y el coseno se toma como 0.</translation>
    </message>
    <message>
        <source>A vector with norm 0 has no direction, so no angle can be measured and the cosine is taken as 0.</source>
        <translation>Un vector de norma 0 no tiene dirección, así que no se puede medir ningún ángulo y el coseno se toma como 0.</translation>
    </message>
</context>
<context>
    <name>TokenProbabilitiesSection</name>
    <message>
        <source>How sure was the model?</source>
        <translation>¿Cuán seguro estaba el modelo?</translation>
    </message>
    <message>
        <source>A language model gives every possible next token a probability and then draws one. This asks the model the same question once more and shows the odds it gave each rating.</source>
        <translation>Un modelo de lenguaje da una probabilidad a cada posible token siguiente y luego sortea uno. Aquí se le hace al modelo la misma pregunta otra vez y se muestran las probabilidades que dio a cada valoración.</translation>
    </message>
    <message>
        <source>Show the model&apos;s probabilities</source>
        <translation>Mostrar las probabilidades del modelo</translation>
    </message>
    <message>
        <source>Candidates for the first token, as the server sent them</source>
        <translation>Candidatos para el primer token, tal como los envió el servidor</translation>
    </message>
    <message>
        <source>Probability of each rating</source>
        <translation>Probabilidad de cada valoración</translation>
    </message>
    <message>
        <source>Candidates for the first token</source>
        <translation>Candidatos para el primer token</translation>
    </message>
    <message>
        <source>Token</source>
        <translation>Token</translation>
    </message>
    <message>
        <source>Log-probability</source>
        <translation>Log-probabilidad</translation>
    </message>
    <message>
        <source>Probability</source>
        <translation>Probabilidad</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Error: %1</translation>
    </message>
    <message>
        <source>Asking the model…</source>
        <translation>Preguntando al modelo…</translation>
    </message>
    <message>
        <source>The model&apos;s answer began with the token “%1”.</source>
        <translation>La respuesta del modelo empezó con el token «%1».</translation>
    </message>
    <message>
        <source>Expected rating, an average among the ratings only (each weighted by its probability): %1</source>
        <translation>Valoración esperada, una media solo entre las valoraciones (cada una ponderada por su probabilidad): %1</translation>
    </message>
    <message>
        <source>Expected rating: none, no candidate is a rating.</source>
        <translation>Valoración esperada: ninguna, ningún candidato es una valoración.</translation>
    </message>
</context>
<context>
    <name>TokenProbabilityText</name>
    <message>
        <source>This server does not send token probabilities. Newer Ollama versions do: update the server to see them.</source>
        <translation>Este servidor no envía probabilidades de tokens. Las versiones más recientes de Ollama sí lo hacen: actualiza el servidor para verlas.</translation>
    </message>
    <message>
        <source>The server sent token probabilities, but for no token other than white space, so there is nothing to show.</source>
        <translation>El servidor envió probabilidades de tokens, pero solo de tokens de espacio en blanco, así que no hay nada que mostrar.</translation>
    </message>
    <message>
        <source>The server sent no candidates for the model&apos;s first token, so there is nothing to show.</source>
        <translation>El servidor no envió candidatos para el primer token del modelo, así que no hay nada que mostrar.</translation>
    </message>
    <message>
        <source>The server sent a log-probability that is not a finite number of zero or less, so the probabilities cannot be shown.</source>
        <translation>El servidor envió una log-probabilidad que no es un número finito menor o igual que cero, así que no se pueden mostrar las probabilidades.</translation>
    </message>
    <message>
        <source>The server sent a token probability entry without its token, so the reply is unusable.</source>
        <translation>El servidor envió una entrada de probabilidad sin su token, así que la respuesta no se puede usar.</translation>
    </message>
    <message>
        <source>The server&apos;s candidates add up to far more than 100 %, which no set of probabilities does, so the reply is unusable.</source>
        <translation>Los candidatos del servidor suman mucho más del 100&#xa0;%, algo que ningún conjunto de probabilidades hace, así que la respuesta no se puede usar.</translation>
    </message>
    <message>
        <source>This model reasons before it answers even when asked not to, so its first tokens are reasoning rather than the rating, and their probabilities would say nothing about it.</source>
        <translation>Este modelo razona antes de responder aunque se le pida que no lo haga, así que sus primeros tokens son razonamiento y no la valoración, y sus probabilidades no dirían nada sobre ella.</translation>
    </message>
    <message>
        <source>(empty)</source>
        <translation>(vacío)</translation>
    </message>
    <message>
        <source>less than 1 percent</source>
        <translation>menos del 1 por ciento</translation>
    </message>
    <message>
        <source>more than 99 percent</source>
        <translation>más del 99 por ciento</translation>
    </message>
    <message>
        <source>%1 percent</source>
        <translation>%1 por ciento</translation>
    </message>
    <message>
        <source>None of the model&apos;s most likely first tokens is a rating from 1 to 5, so its answer would not have been a rating.</source>
        <translation>Ninguno de los primeros tokens más probables del modelo es una valoración del 1 al 5, así que su respuesta no habría sido una valoración.</translation>
    </message>
    <message>
        <source>The model gave %1 a probability of %2 and the other ratings almost none: it was sure of its answer</source>
        <translation>El modelo dio al %1 una probabilidad de %2 y a las demás valoraciones casi ninguna: estaba seguro de su respuesta</translation>
    </message>
    <message>
        <source>The model gave %1 a probability of %2 and the other ratings almost none</source>
        <translation>El modelo dio al %1 una probabilidad de %2 y a las demás valoraciones casi ninguna</translation>
    </message>
    <message>
        <source>The model gave %1 a probability of %2 and %3 a probability of %4; the answer is drawn from these odds, so the same text can get another rating on another run</source>
        <translation>El modelo dio al %1 una probabilidad de %2 y al %3 una probabilidad de %4; la respuesta se sortea según estas probabilidades, así que el mismo texto puede recibir otra valoración en otra ejecución</translation>
    </message>
    <message>
        <source>, and this time the draw gave %1</source>
        <translation>, y esta vez el sorteo dio el %1</translation>
    </message>
    <message>
        <source>%1 of the probability went to tokens that are not ratings, so the answer might not have been a rating at all.</source>
        <translation>El %1 de la probabilidad fue a tokens que no son valoraciones, así que la respuesta podría no haber sido una valoración.</translation>
    </message>
</context>
<context>
    <name>VectorStripView</name>
    <message>
        <source>First</source>
        <translation>Primero</translation>
    </message>
    <message>
        <source>Second</source>
        <translation>Segundo</translation>
    </message>
    <message>
        <source>Color strips of the two vectors</source>
        <translation>Franjas de color de los dos vectores</translation>
    </message>
    <message>
        <source>%1 vector: empty.</source>
        <translation>Vector %1: vacío.</translation>
    </message>
    <message>
        <source>components</source>
        <translation>componentes</translation>
    </message>
    <message>
        <source>first %1 components</source>
        <translation>primeros %1 componentes</translation>
    </message>
    <message>
        <source>%1 vector, %2; %3: %4.</source>
        <translation>Vector %1, %2; %3: %4.</translation>
    </message>
    <message>
        <source>%1 %2 Each cell is one dimension: blue below 0, red above 0, pale near 0.</source>
        <translation>%1 %2 Cada celda es una dimensión: azul por debajo de 0, rojo por encima de 0, pálido cerca de 0.</translation>
    </message>
    <message>
        <source>one cell per dimension, 0 in the middle</source>
        <translation>una celda por dimensión, 0 en el centro</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Interactive demos of transformer language models, driven by an Ollama server.</source>
        <translation>Demos interactivas de modelos de lenguaje transformer, que funcionan con un servidor Ollama.</translation>
    </message>
</context>
</TS>
