<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CommandLine</name>
    <message>
        <source>Shows this help and exits.</source>
        <translation>Zeigt diese Hilfe und beendet das Programm.</translation>
    </message>
    <message>
        <source>Shows the version and exits.</source>
        <translation>Zeigt die Version und beendet das Programm.</translation>
    </message>
    <message>
        <source>The file specification, e.g. &quot;*.jpg;*.png&quot;.</source>
        <translation>Die Dateiangabe, z. B. &quot;*.jpg;*.png&quot;.</translation>
    </message>
    <message>
        <source>SPEC</source>
        <translation>MUSTER</translation>
    </message>
    <message>
        <source>Starts the search at once.</source>
        <translation>Beginnt sofort mit der Suche.</translation>
    </message>
    <message>
        <source>Finds files by name below a folder, previews pictures, and exports the list.</source>
        <translation>Findet Dateien nach Namen unterhalb eines Ordners, zeigt Bilder in der Vorschau und exportiert die Liste.</translation>
    </message>
    <message>
        <source>value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>The folder to search in.</source>
        <translation>Der Ordner, in dem gesucht wird.</translation>
    </message>
    <message>
        <source>[folder]</source>
        <translation>[Ordner]</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos; for more information.</source>
        <translation>Mit »%1 --help« erhalten Sie weitere Informationen.</translation>
    </message>
    <message>
        <source>Only one folder can be searched; more were given.</source>
        <translation>Es kann nur ein Ordner durchsucht werden; es wurden mehrere angegeben.</translation>
    </message>
    <message>
        <source>No such folder: %1</source>
        <translation>Ordner nicht gefunden: %1</translation>
    </message>
    <message>
        <source>Not a folder: %1</source>
        <translation>Kein Ordner: %1</translation>
    </message>
    <message>
        <source>Only files of this size: &gt;N, &gt;=N, &lt;N, &lt;=N, N..M or N, with B, KB, MB, GB or TB after N (1 KB = 1,024 bytes), e.g. &quot;&gt;100MB&quot;. Folders never match. Adds the term size:RANGE.</source>
        <translation>Nur Dateien dieser Größe: &gt;N, &gt;=N, &lt;N, &lt;=N, N..M oder N, mit B, KB, MB, GB oder TB nach N (1 KB = 1.024 Byte), z. B. &quot;&gt;100MB&quot;. Ordner passen nie. Fügt den Begriff size:BEREICH hinzu.</translation>
    </message>
    <message>
        <source>RANGE</source>
        <translation>BEREICH</translation>
    </message>
    <message>
        <source>Only what was modified then, in local time: today, yesterday, Nd, Nw, Nm or Ny (the last N days, weeks, 30-day months or 365-day years), &gt;DATE, &lt;DATE, DATE or DATE..DATE with DATE as YYYY-MM-DD, e.g. 7d. Adds the term modified:WHEN.</source>
        <translation>Nur was zu dieser Zeit geändert wurde, in Ortszeit: today, yesterday, Nd, Nw, Nm oder Ny (die letzten N Tage, Wochen, Monate zu 30 Tagen oder Jahre zu 365 Tagen), &gt;DATUM, &lt;DATUM, DATUM oder DATUM..DATUM mit DATUM als YYYY-MM-DD, z. B. 7d. Fügt den Begriff modified:WANN hinzu.</translation>
    </message>
    <message>
        <source>WHEN</source>
        <translation>WANN</translation>
    </message>
    <message>
        <source>Only files that contain this text, in any case, e.g. &quot;invoice 2024&quot;. Binary files are skipped. Adds the term contains:TEXT.</source>
        <translation>Nur Dateien, die diesen Text enthalten, in beliebiger Schreibweise, z. B. &quot;Rechnung 2024&quot;. Binärdateien werden übersprungen. Fügt den Begriff contains:TEXT hinzu.</translation>
    </message>
    <message>
        <source>TEXT</source>
        <translation>TEXT</translation>
    </message>
    <message>
        <source>Does not enter folders of this name, which may hold * and ?, e.g. node_modules; may be given again. Adds the term skip:NAME.</source>
        <translation>Betritt keine Ordner dieses Namens, der * und ? enthalten darf, z. B. node_modules; kann mehrfach angegeben werden. Fügt den Begriff skip:NAME hinzu.</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>--%1 cannot hold &quot;;&quot;: %2</source>
        <translation>--%1 darf kein &quot;;&quot; enthalten: %2</translation>
    </message>
    <message>
        <source>--contains cannot hold both &quot;;&quot; and &apos;&quot;&apos;: %1</source>
        <translation>--contains darf nicht zugleich &quot;;&quot; und &apos;&quot;&apos; enthalten: %1</translation>
    </message>
</context>
<context>
    <name>Export</name>
    <message>
        <source>No application on this desktop opens spreadsheet files. The spreadsheet was saved as %1.</source>
        <translation>Auf diesem Desktop öffnet kein Programm Tabellendokumente. Die Tabelle wurde als %1 gespeichert.</translation>
    </message>
    <message>
        <source>No application on this desktop opens document files. The document was saved as %1.</source>
        <translation>Auf diesem Desktop öffnet kein Programm Textdokumente. Das Dokument wurde als %1 gespeichert.</translation>
    </message>
    <message>
        <source>Please wait exporting List to PDF : </source>
        <translation>Bitte warten, Liste wird als PDF exportiert: </translation>
    </message>
    <message>
        <source>Error on Line </source>
        <translation>Fehler in Zeile </translation>
    </message>
    <message>
        <source>Quorvel File Search: Function&gt;Getfilename..</source>
        <translation>Quorvel File Search: Funktion&gt;Getfilename..</translation>
    </message>
    <message>
        <source>Please wait exporting List to Excel : </source>
        <translation>Bitte warten, Liste wird nach Excel exportiert: </translation>
    </message>
    <message>
        <source>Please wait exporting List to Excel with Image filename </source>
        <translation>Bitte warten, Liste wird mit dem Bild exportiert: </translation>
    </message>
    <message>
        <source>Please wait exporting List to Excel</source>
        <translation>Bitte warten, Liste wird nach Excel exportiert</translation>
    </message>
    <message>
        <source>A worksheet holds %1 entries; the last %2 of the %3 in the list were left out of %4.</source>
        <translation>Ein Tabellenblatt fasst %1 Einträge; die letzten %2 der %3 Einträge der Liste fehlen in %4.</translation>
    </message>
    <message>
        <source>A worksheet holds %1 links; %2 entries in %3 are plain text, without a link.</source>
        <translation>Ein Tabellenblatt fasst %1 Verknüpfungen; %2 Einträge in %3 sind reiner Text ohne Verknüpfung.</translation>
    </message>
    <message>
        <source>the folder cannot be made</source>
        <translation>der Ordner kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>Cannot write %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>No application on this desktop opens text files. The list was saved as %1.</source>
        <translation>Auf diesem Desktop öffnet kein Programm Textdateien. Die Liste wurde als %1 gespeichert.</translation>
    </message>
    <message>
        <source>No application on this desktop opens web pages. The page was saved as %1.</source>
        <translation>Auf diesem Desktop öffnet kein Programm Webseiten. Die Seite wurde als %1 gespeichert.</translation>
    </message>
    <message>
        <source>No application on this desktop opens PDF files. The PDF file was saved as %1.</source>
        <translation>Auf diesem Desktop öffnet kein Programm PDF-Dateien. Die PDF-Datei wurde als %1 gespeichert.</translation>
    </message>
</context>
<context>
    <name>FolderList</name>
    <message>
        <source>Reading...</source>
        <translation>Wird gelesen...</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>Thank you for using &quot;Quorvel File Search&quot;.<byte value="xd"/>
<byte value="xd"/>
<byte value="xd"/>
This software was developed in my valuable <byte value="xd"/>
spare time without any salary or sponsorship.<byte value="xd"/>
<byte value="xd"/>
If you liked it, appreicaite  your donation thus I <byte value="xd"/>
will ensure future development of this <byte value="xd"/>
software. <byte value="xd"/>
<byte value="xd"/>
<byte value="xd"/>
Thank you for your support,<byte value="xd"/>
</source>
        <translation>Danke, dass Sie &quot;Quorvel File Search&quot; verwenden.<byte value="xd"/>
<byte value="xd"/>
<byte value="xd"/>
Diese Software entstand in meiner kostbaren <byte value="xd"/>
Freizeit, ohne Gehalt und ohne Sponsor.<byte value="xd"/>
<byte value="xd"/>
Wenn sie Ihnen gefällt, hilft mir Ihre Spende, <byte value="xd"/>
die Software auch künftig <byte value="xd"/>
weiterzuentwickeln. <byte value="xd"/>
<byte value="xd"/>
<byte value="xd"/>
Danke für Ihre Unterstützung,<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Showing selected record no.</source>
        <translation>Nummer des gewählten Eintrags</translation>
    </message>
    <message>
        <source>Select Drive</source>
        <translation>Laufwerk wählen</translation>
    </message>
    <message>
        <source>Select Directory</source>
        <translation>Ordner wählen</translation>
    </message>
    <message>
        <source>write your file specification here,  e.g. *.jpg;*.bmp</source>
        <translation>Dateiangabe hier eingeben, z. B. *.jpg;*.bmp</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>click here to search</source>
        <translation>hier klicken, um zu suchen</translation>
    </message>
    <message>
        <source>Show Listbox while searching</source>
        <translation>Liste beim Suchen zeigen</translation>
    </message>
    <message>
        <source>Show Image Preview while searching</source>
        <translation>Bildvorschau beim Suchen zeigen</translation>
    </message>
    <message>
        <source>Showing Desktop Files</source>
        <translation>Desktop-Dateien</translation>
    </message>
    <message>
        <source>Right click to show files from subfolder from Desktop</source>
        <translation>Rechtsklick zeigt auch Dateien aus Unterordnern des Desktops</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>P&amp;df</source>
        <translation>P&amp;df</translation>
    </message>
    <message>
        <source>Export List to pdf file</source>
        <translation>Liste als PDF-Datei exportieren</translation>
    </message>
    <message>
        <source>&amp;Html</source>
        <translation>&amp;Html</translation>
    </message>
    <message>
        <source>Export List to Html</source>
        <translation>Liste als HTML exportieren</translation>
    </message>
    <message>
        <source>&amp;Notepad</source>
        <translation>&amp;Text</translation>
    </message>
    <message>
        <source>Export List to Notepade Text file saved in App path</source>
        <translation>Liste als Textdatei exportieren</translation>
    </message>
    <message>
        <source>&amp;Word</source>
        <translation>&amp;Word</translation>
    </message>
    <message>
        <source>Export List to Wordl document with Hyperlink.</source>
        <translation>Liste als Word-Dokument mit Verknüpfungen exportieren.</translation>
    </message>
    <message>
        <source>&amp;Excel</source>
        <translation>&amp;Excel</translation>
    </message>
    <message>
        <source>Export List to Excel Sheet with Hyperlink.</source>
        <translation>Liste als Excel-Tabelle mit Verknüpfungen exportieren.</translation>
    </message>
    <message>
        <source>&amp;Copy Image to Clipboard</source>
        <translation>Bild in die Zwis&amp;chenablage</translation>
    </message>
    <message>
        <source>image displayed by quorvel software</source>
        <translation>von Quorvel Software angezeigtes Bild</translation>
    </message>
    <message>
        <source>Showing moving animation from static image, right click to stop.</source>
        <translation>Bewegte Animation aus dem Standbild, Rechtsklick hält sie an.</translation>
    </message>
    <message>
        <source>List box empty</source>
        <translation>Die Liste ist leer</translation>
    </message>
    <message>
        <source>Goto %1</source>
        <translation>Gehe zu %1</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>Ergebnisse</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Laufwerk</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Search folder</source>
        <translation>Suchordner</translation>
    </message>
    <message>
        <source>File specification</source>
        <translation>Dateiangabe</translation>
    </message>
    <message>
        <source>Items found</source>
        <translation>Gefundene Einträge</translation>
    </message>
    <message>
        <source>Size of files found</source>
        <translation>Größe der gefundenen Dateien</translation>
    </message>
    <message>
        <source>Thank you</source>
        <translation>Danke</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Web page</source>
        <translation>Webseite</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Kind of the previewed file</source>
        <translation>Art der Datei in der Vorschau</translation>
    </message>
    <message>
        <source>Selected entry</source>
        <translation>Gewählter Eintrag</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Excel</source>
        <translation>Excel</translation>
    </message>
    <message>
        <source>Word</source>
        <translation>Word</translation>
    </message>
    <message>
        <source>Note pad</source>
        <translation>Textdatei</translation>
    </message>
    <message>
        <source>View in</source>
        <translation>Anzeigen als</translation>
    </message>
    <message>
        <source>Html</source>
        <translation>HTML</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>Copy List to Clipboard</source>
        <translation>Liste in die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>Copy Full Path to Clipboard</source>
        <translation>Vollständigen Pfad kopieren</translation>
    </message>
    <message>
        <source>Copy Image to Clipboard</source>
        <translation>Bild in die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Ordner öffnen</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>File Property</source>
        <translation>Dateieigenschaften</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Quorvel File Search
Version %1
by Quorvel Software (%2)</source>
        <translation>Quorvel File Search
Version %1
von Quorvel Software (%2)</translation>
    </message>
    <message>
        <source>Unlike Microsoft Windows built-in search utility, Quorvel File Search features provide options for Preview of Image while searching to let you find exactly the files\Images you are looking for.</source>
        <translation>Anders als die eingebaute Suche von Microsoft Windows zeigt Quorvel File Search Bilder schon während der Suche in der Vorschau, damit Sie genau die Dateien und Bilder finden, die Sie suchen.</translation>
    </message>
</context>
<context>
    <name>Preview</name>
    <message>
        <source>There was an error when trying to open a default programme</source>
        <translation>Beim Öffnen mit dem Standardprogramm ist ein Fehler aufgetreten</translation>
    </message>
    <message>
        <source>Error........Quorvele  File  Search</source>
        <translation>Fehler........Quorvel File Search</translation>
    </message>
    <message>
        <source>No filename selected</source>
        <translation>Kein Dateiname gewählt</translation>
    </message>
    <message>
        <source>The picture could not be copied.</source>
        <translation>Das Bild konnte nicht kopiert werden.</translation>
    </message>
    <message>
        <source>%1 from %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>Office File</source>
        <translation>Office-Datei</translation>
    </message>
    <message>
        <source>%1 Properties</source>
        <translation>Eigenschaften von %1</translation>
    </message>
    <message>
        <source>%1:</source>
        <translation>%1:</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Link to %1</source>
        <translation>Verknüpfung auf %1</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Byte</translation>
    </message>
    <message>
        <source>Created</source>
        <translation>Erstellt</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>Accessed</source>
        <translation>Letzter Zugriff</translation>
    </message>
    <message>
        <source>Owner</source>
        <translation>Eigentümer</translation>
    </message>
    <message>
        <source>Permissions</source>
        <translation>Berechtigungen</translation>
    </message>
    <message>
        <source>%1

This path is %L2 bytes long; the system hands other programs paths of at most %L3 bytes, so it cannot be opened or shown from here.</source>
        <translation>%1

Dieser Pfad ist %L2 Bytes lang; das System gibt anderen Programmen Pfade von höchstens %L3 Bytes weiter, daher kann er von hier aus weder geöffnet noch angezeigt werden.</translation>
    </message>
</context>
<context>
    <name>Search</name>
    <message>
        <source>Showing Desktop File</source>
        <translation>Desktop-Datei</translation>
    </message>
    <message>
        <source>Searching in... </source>
        <translation>Suche in... </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Show Desktop File</source>
        <translation>Desktop-Datei zeigen</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Total Items found = %1  in Directories = %2</source>
        <translation>Gefundene Einträge = %1  in Ordnern = %2</translation>
    </message>
    <message>
        <source>   &gt;&gt;&gt; Size of files found =%1 Bytes ( %2 KB )</source>
        <translation>   &gt;&gt;&gt; Größe der gefundenen Dateien =%1 Byte ( %2 KB )</translation>
    </message>
    <message>
        <source>Size of files found under %1 = %2 Bytes (%3 KB )</source>
        <translation>Größe der gefundenen Dateien unter %1 = %2 Byte (%3 KB )</translation>
    </message>
    <message>
        <source>Find in %1 .....Stopped.</source>
        <translation>Gesucht in %1 .....Angehalten.</translation>
    </message>
    <message>
        <source>Find in %1</source>
        <translation>Gesucht in %1</translation>
    </message>
    <message>
        <source>Find in %1 .....Stopped: more entries than can be counted.</source>
        <translation>Gesucht in %1 .....Angehalten: mehr Einträge, als gezählt werden können.</translation>
    </message>
    <message>
        <source>Find in %1 .....Stopped: out of memory.</source>
        <translation>Gesucht in %1 .....Angehalten: kein Speicher mehr frei.</translation>
    </message>
    <message>
        <source>size:&gt;N, size:&gt;=N, size:&lt;N, size:&lt;=N, size:N..M or size:N, where N is a number of bytes with B, KB, MB, GB or TB after it (1 KB = 1,024 bytes), as in size:&gt;1.5MB</source>
        <translation>size:&gt;N, size:&gt;=N, size:&lt;N, size:&lt;=N, size:N..M oder size:N, wobei N eine Anzahl Byte mit B, KB, MB, GB oder TB dahinter ist (1 KB = 1.024 Byte), etwa size:&gt;1.5MB</translation>
    </message>
    <message>
        <source>modified:today, modified:yesterday, modified:7d (days), 2w (weeks), 3m (30-day months), 1y (365-day years), modified:&gt;YYYY-MM-DD, modified:&lt;YYYY-MM-DD, modified:YYYY-MM-DD or modified:YYYY-MM-DD..YYYY-MM-DD</source>
        <translation>modified:today, modified:yesterday, modified:7d (Tage), 2w (Wochen), 3m (Monate zu 30 Tagen), 1y (Jahre zu 365 Tagen), modified:&gt;YYYY-MM-DD, modified:&lt;YYYY-MM-DD, modified:YYYY-MM-DD oder modified:YYYY-MM-DD..YYYY-MM-DD</translation>
    </message>
    <message>
        <source>contains:TEXT, or contains:&quot;TEXT&quot; for text with blanks or &quot;;&quot;</source>
        <translation>contains:TEXT, oder contains:&quot;TEXT&quot; für Text mit Leerzeichen oder &quot;;&quot;</translation>
    </message>
    <message>
        <source>skip:NAME, where NAME may hold the wildcards * and ?, as in skip:.git</source>
        <translation>skip:NAME, wobei NAME die Platzhalter * und ? enthalten darf, etwa skip:.git</translation>
    </message>
    <message>
        <source>The search term &quot;%1&quot; is not understood. It can be written as %2.</source>
        <translation>Der Suchbegriff &quot;%1&quot; ist unverständlich. Er kann so geschrieben werden: %2.</translation>
    </message>
</context>
<context>
    <name>Volumes</name>
    <message>
        <source>not answering</source>
        <translation>antwortet nicht</translation>
    </message>
</context>
</TS>
