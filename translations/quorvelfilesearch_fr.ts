<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>CommandLine</name>
    <message>
        <source>Shows this help and exits.</source>
        <translation>Affiche cette aide et quitte.</translation>
    </message>
    <message>
        <source>Shows the version and exits.</source>
        <translation>Affiche la version et quitte.</translation>
    </message>
    <message>
        <source>The file specification, e.g. &quot;*.jpg;*.png&quot;.</source>
        <translation>La spécification de fichiers, p. ex. &quot;*.jpg;*.png&quot;.</translation>
    </message>
    <message>
        <source>SPEC</source>
        <translation>MOTIF</translation>
    </message>
    <message>
        <source>Starts the search at once.</source>
        <translation>Lance la recherche immédiatement.</translation>
    </message>
    <message>
        <source>Finds files by name below a folder, previews pictures, and exports the list.</source>
        <translation>Trouve des fichiers par leur nom sous un dossier, prévisualise les images et exporte la liste.</translation>
    </message>
    <message>
        <source>value</source>
        <translation>valeur</translation>
    </message>
    <message>
        <source>folder</source>
        <translation>dossier</translation>
    </message>
    <message>
        <source>The folder to search in.</source>
        <translation>Le dossier dans lequel chercher.</translation>
    </message>
    <message>
        <source>[folder]</source>
        <translation>[dossier]</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos; for more information.</source>
        <translation>Saisissez « %1 --help » pour plus d&apos;informations.</translation>
    </message>
    <message>
        <source>Only one folder can be searched; more were given.</source>
        <translation>Un seul dossier peut être parcouru ; plusieurs ont été donnés.</translation>
    </message>
    <message>
        <source>No such folder: %1</source>
        <translation>Dossier introuvable : %1</translation>
    </message>
    <message>
        <source>Not a folder: %1</source>
        <translation>N&apos;est pas un dossier : %1</translation>
    </message>
    <message>
        <source>Only files of this size: &gt;N, &gt;=N, &lt;N, &lt;=N, N..M or N, with B, KB, MB, GB or TB after N (1 KB = 1,024 bytes), e.g. &quot;&gt;100MB&quot;. Folders never match. Adds the term size:RANGE.</source>
        <translation>Seulement les fichiers de cette taille : &gt;N, &gt;=N, &lt;N, &lt;=N, N..M ou N, avec B, KB, MB, GB ou TB après N (1 KB = 1 024 octets), p. ex. &quot;&gt;100MB&quot;. Les dossiers ne correspondent jamais. Ajoute le terme size:PLAGE.</translation>
    </message>
    <message>
        <source>RANGE</source>
        <translation>PLAGE</translation>
    </message>
    <message>
        <source>Only what was modified then, in local time: today, yesterday, Nd, Nw, Nm or Ny (the last N days, weeks, 30-day months or 365-day years), &gt;DATE, &lt;DATE, DATE or DATE..DATE with DATE as YYYY-MM-DD, e.g. 7d. Adds the term modified:WHEN.</source>
        <translation>Seulement ce qui a été modifié alors, en heure locale : today, yesterday, Nd, Nw, Nm ou Ny (les N derniers jours, semaines, mois de 30 jours ou années de 365 jours), &gt;DATE, &lt;DATE, DATE ou DATE..DATE avec DATE au format YYYY-MM-DD, p. ex. 7d. Ajoute le terme modified:QUAND.</translation>
    </message>
    <message>
        <source>WHEN</source>
        <translation>QUAND</translation>
    </message>
    <message>
        <source>Only files that contain this text, in any case, e.g. &quot;invoice 2024&quot;. Binary files are skipped. Adds the term contains:TEXT.</source>
        <translation>Seulement les fichiers qui contiennent ce texte, sans tenir compte de la casse, p. ex. &quot;facture 2024&quot;. Les fichiers binaires sont ignorés. Ajoute le terme contains:TEXTE.</translation>
    </message>
    <message>
        <source>TEXT</source>
        <translation>TEXTE</translation>
    </message>
    <message>
        <source>Does not enter folders of this name, which may hold * and ?, e.g. node_modules; may be given again. Adds the term skip:NAME.</source>
        <translation>N’entre dans aucun dossier de ce nom, qui peut contenir * et ?, p. ex. node_modules ; peut être répété. Ajoute le terme skip:NOM.</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>NOM</translation>
    </message>
    <message>
        <source>--%1 cannot hold &quot;;&quot;: %2</source>
        <translation>--%1 ne peut pas contenir &quot;;&quot; : %2</translation>
    </message>
    <message>
        <source>--contains cannot hold both &quot;;&quot; and &apos;&quot;&apos;: %1</source>
        <translation>--contains ne peut pas contenir à la fois &quot;;&quot; et &apos;&quot;&apos; : %1</translation>
    </message>
</context>
<context>
    <name>Export</name>
    <message>
        <source>No application on this desktop opens spreadsheet files. The spreadsheet was saved as %1.</source>
        <translation>Aucune application de ce bureau n&apos;ouvre les classeurs. Le classeur a été enregistré sous %1.</translation>
    </message>
    <message>
        <source>No application on this desktop opens document files. The document was saved as %1.</source>
        <translation>Aucune application de ce bureau n&apos;ouvre les documents. Le document a été enregistré sous %1.</translation>
    </message>
    <message>
        <source>Please wait exporting List to PDF : </source>
        <translation>Veuillez patienter, exportation de la liste en PDF : </translation>
    </message>
    <message>
        <source>Error on Line </source>
        <translation>Erreur à la ligne </translation>
    </message>
    <message>
        <source>Quorvel File Search: Function&gt;Getfilename..</source>
        <translation>Quorvel File Search : Fonction&gt;Getfilename..</translation>
    </message>
    <message>
        <source>Please wait exporting List to Excel : </source>
        <translation>Veuillez patienter, exportation de la liste vers Excel : </translation>
    </message>
    <message>
        <source>Please wait exporting List to Excel with Image filename </source>
        <translation>Veuillez patienter, exportation de la liste vers Excel avec l&apos;image </translation>
    </message>
    <message>
        <source>Please wait exporting List to Excel</source>
        <translation>Veuillez patienter, exportation de la liste vers Excel</translation>
    </message>
    <message>
        <source>A worksheet holds %1 entries; the last %2 of the %3 in the list were left out of %4.</source>
        <translation>Une feuille de calcul contient %1 entrées ; les %2 dernières des %3 de la liste ne figurent pas dans %4.</translation>
    </message>
    <message>
        <source>A worksheet holds %1 links; %2 entries in %3 are plain text, without a link.</source>
        <translation>Une feuille de calcul contient %1 liens ; %2 entrées de %3 sont du texte simple, sans lien.</translation>
    </message>
    <message>
        <source>the folder cannot be made</source>
        <translation>le dossier ne peut pas être créé</translation>
    </message>
    <message>
        <source>Cannot write %1</source>
        <translation>Impossible d&apos;écrire %1</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Impossible d&apos;écrire %1 : %2</translation>
    </message>
    <message>
        <source>No application on this desktop opens text files. The list was saved as %1.</source>
        <translation>Aucune application de ce bureau n&apos;ouvre les fichiers texte. La liste a été enregistrée sous %1.</translation>
    </message>
    <message>
        <source>No application on this desktop opens web pages. The page was saved as %1.</source>
        <translation>Aucune application de ce bureau n&apos;ouvre les pages web. La page a été enregistrée sous %1.</translation>
    </message>
    <message>
        <source>No application on this desktop opens PDF files. The PDF file was saved as %1.</source>
        <translation>Aucune application de ce bureau n&apos;ouvre les fichiers PDF. Le fichier PDF a été enregistré sous %1.</translation>
    </message>
</context>
<context>
    <name>FolderList</name>
    <message>
        <source>Reading...</source>
        <translation>Lecture...</translation>
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
        <translation>Merci d&apos;utiliser &quot;Quorvel File Search&quot;.<byte value="xd"/>
<byte value="xd"/>
<byte value="xd"/>
Ce logiciel a été développé sur mon précieux <byte value="xd"/>
temps libre, sans salaire ni parrainage.<byte value="xd"/>
<byte value="xd"/>
S&apos;il vous a plu, votre don me permettra <byte value="xd"/>
d&apos;assurer le développement futur de ce <byte value="xd"/>
logiciel. <byte value="xd"/>
<byte value="xd"/>
<byte value="xd"/>
Merci de votre soutien,<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Showing selected record no.</source>
        <translation>Numéro de l&apos;entrée choisie</translation>
    </message>
    <message>
        <source>Select Drive</source>
        <translation>Choisir le lecteur</translation>
    </message>
    <message>
        <source>Select Directory</source>
        <translation>Choisir le dossier</translation>
    </message>
    <message>
        <source>write your file specification here,  e.g. *.jpg;*.bmp</source>
        <translation>écrivez ici la spécification de fichiers, p. ex. *.jpg;*.bmp</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Chercher</translation>
    </message>
    <message>
        <source>click here to search</source>
        <translation>cliquez ici pour chercher</translation>
    </message>
    <message>
        <source>Show Listbox while searching</source>
        <translation>Afficher la liste pendant la recherche</translation>
    </message>
    <message>
        <source>Show Image Preview while searching</source>
        <translation>Aperçu des images pendant la recherche</translation>
    </message>
    <message>
        <source>Showing Desktop Files</source>
        <translation>Fichiers du bureau</translation>
    </message>
    <message>
        <source>Right click to show files from subfolder from Desktop</source>
        <translation>Clic droit pour afficher aussi les fichiers des sous-dossiers du bureau</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Imprimer</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimer</translation>
    </message>
    <message>
        <source>P&amp;df</source>
        <translation>P&amp;df</translation>
    </message>
    <message>
        <source>Export List to pdf file</source>
        <translation>Exporter la liste en fichier PDF</translation>
    </message>
    <message>
        <source>&amp;Html</source>
        <translation>&amp;Html</translation>
    </message>
    <message>
        <source>Export List to Html</source>
        <translation>Exporter la liste en HTML</translation>
    </message>
    <message>
        <source>&amp;Notepad</source>
        <translation>&amp;Texte</translation>
    </message>
    <message>
        <source>Export List to Notepade Text file saved in App path</source>
        <translation>Exporter la liste dans un fichier texte</translation>
    </message>
    <message>
        <source>&amp;Word</source>
        <translation>&amp;Word</translation>
    </message>
    <message>
        <source>Export List to Wordl document with Hyperlink.</source>
        <translation>Exporter la liste en document Word avec des liens.</translation>
    </message>
    <message>
        <source>&amp;Excel</source>
        <translation>&amp;Excel</translation>
    </message>
    <message>
        <source>Export List to Excel Sheet with Hyperlink.</source>
        <translation>Exporter la liste en feuille Excel avec des liens.</translation>
    </message>
    <message>
        <source>&amp;Copy Image to Clipboard</source>
        <translation>&amp;Copier l&apos;image</translation>
    </message>
    <message>
        <source>image displayed by quorvel software</source>
        <translation>image affichée par Quorvel Software</translation>
    </message>
    <message>
        <source>Showing moving animation from static image, right click to stop.</source>
        <translation>Animation mobile à partir de l&apos;image fixe, clic droit pour l&apos;arrêter.</translation>
    </message>
    <message>
        <source>List box empty</source>
        <translation>La liste est vide</translation>
    </message>
    <message>
        <source>Goto %1</source>
        <translation>Aller à %1</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>Résultats</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Lecteur</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Dossier</translation>
    </message>
    <message>
        <source>Search folder</source>
        <translation>Dossier de recherche</translation>
    </message>
    <message>
        <source>File specification</source>
        <translation>Spécification de fichiers</translation>
    </message>
    <message>
        <source>Items found</source>
        <translation>Éléments trouvés</translation>
    </message>
    <message>
        <source>Size of files found</source>
        <translation>Taille des fichiers trouvés</translation>
    </message>
    <message>
        <source>Thank you</source>
        <translation>Merci</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>Web page</source>
        <translation>Page web</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>État</translation>
    </message>
    <message>
        <source>Kind of the previewed file</source>
        <translation>Type du fichier prévisualisé</translation>
    </message>
    <message>
        <source>Selected entry</source>
        <translation>Entrée choisie</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exporter</translation>
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
        <translation>Fichier texte</translation>
    </message>
    <message>
        <source>View in</source>
        <translation>Afficher en</translation>
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
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>Copy List to Clipboard</source>
        <translation>Copier la liste dans le presse-papiers</translation>
    </message>
    <message>
        <source>Copy Full Path to Clipboard</source>
        <translation>Copier le chemin complet</translation>
    </message>
    <message>
        <source>Copy Image to Clipboard</source>
        <translation>Copier l&apos;image dans le presse-papiers</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Ouvrir le dossier</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Ouvrir le fichier</translation>
    </message>
    <message>
        <source>File Property</source>
        <translation>Propriétés du fichier</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Quorvel File Search
Version %1
by Quorvel Software (%2)</source>
        <translation>Quorvel File Search
Version %1
par Quorvel Software (%2)</translation>
    </message>
    <message>
        <source>Unlike Microsoft Windows built-in search utility, Quorvel File Search features provide options for Preview of Image while searching to let you find exactly the files\Images you are looking for.</source>
        <translation>Contrairement à l&apos;outil de recherche intégré de Microsoft Windows, Quorvel File Search propose l&apos;aperçu des images pendant la recherche pour vous permettre de trouver exactement les fichiers et images que vous cherchez.</translation>
    </message>
</context>
<context>
    <name>Preview</name>
    <message>
        <source>There was an error when trying to open a default programme</source>
        <translation>Une erreur s&apos;est produite à l&apos;ouverture avec le programme par défaut</translation>
    </message>
    <message>
        <source>Error........Quorvele  File  Search</source>
        <translation>Erreur........Quorvel File Search</translation>
    </message>
    <message>
        <source>No filename selected</source>
        <translation>Aucun nom de fichier choisi</translation>
    </message>
    <message>
        <source>The picture could not be copied.</source>
        <translation>L&apos;image n&apos;a pas pu être copiée.</translation>
    </message>
    <message>
        <source>%1 from %2</source>
        <translation>%1 sur %2</translation>
    </message>
    <message>
        <source>Office File</source>
        <translation>Fichier Office</translation>
    </message>
    <message>
        <source>%1 Properties</source>
        <translation>Propriétés de %1</translation>
    </message>
    <message>
        <source>%1:</source>
        <translation>%1 :</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Dossier</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Link to %1</source>
        <translation>Lien vers %1</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 octets</translation>
    </message>
    <message>
        <source>Created</source>
        <translation>Créé</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Modifié</translation>
    </message>
    <message>
        <source>Accessed</source>
        <translation>Dernier accès</translation>
    </message>
    <message>
        <source>Owner</source>
        <translation>Propriétaire</translation>
    </message>
    <message>
        <source>Permissions</source>
        <translation>Droits</translation>
    </message>
    <message>
        <source>%1

This path is %L2 bytes long; the system hands other programs paths of at most %L3 bytes, so it cannot be opened or shown from here.</source>
        <translation>%1

Ce chemin fait %L2 octets ; le système ne transmet aux autres programmes que des chemins d’au plus %L3 octets, il ne peut donc être ni ouvert ni affiché d’ici.</translation>
    </message>
</context>
<context>
    <name>Search</name>
    <message>
        <source>Showing Desktop File</source>
        <translation>Fichier du bureau</translation>
    </message>
    <message>
        <source>Searching in... </source>
        <translation>Recherche dans... </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Show Desktop File</source>
        <translation>Afficher le bureau</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Chercher</translation>
    </message>
    <message>
        <source>Total Items found = %1  in Directories = %2</source>
        <translation>Éléments trouvés = %1  dans les dossiers = %2</translation>
    </message>
    <message>
        <source>   &gt;&gt;&gt; Size of files found =%1 Bytes ( %2 KB )</source>
        <translation>   &gt;&gt;&gt; Taille des fichiers trouvés =%1 octets ( %2 Ko )</translation>
    </message>
    <message>
        <source>Size of files found under %1 = %2 Bytes (%3 KB )</source>
        <translation>Taille des fichiers trouvés sous %1 = %2 octets (%3 Ko )</translation>
    </message>
    <message>
        <source>Find in %1 .....Stopped.</source>
        <translation>Recherche en %1 .....Arrêtée.</translation>
    </message>
    <message>
        <source>Find in %1</source>
        <translation>Recherche en %1</translation>
    </message>
    <message>
        <source>Find in %1 .....Stopped: more entries than can be counted.</source>
        <translation>Recherche en %1 .....Arrêtée : plus d’éléments qu’il n’est possible d’en compter.</translation>
    </message>
    <message>
        <source>Find in %1 .....Stopped: out of memory.</source>
        <translation>Recherche en %1 .....Arrêtée : mémoire épuisée.</translation>
    </message>
    <message>
        <source>size:&gt;N, size:&gt;=N, size:&lt;N, size:&lt;=N, size:N..M or size:N, where N is a number of bytes with B, KB, MB, GB or TB after it (1 KB = 1,024 bytes), as in size:&gt;1.5MB</source>
        <translation>size:&gt;N, size:&gt;=N, size:&lt;N, size:&lt;=N, size:N..M ou size:N, où N est un nombre d’octets suivi de B, KB, MB, GB ou TB (1 KB = 1 024 octets), comme size:&gt;1.5MB</translation>
    </message>
    <message>
        <source>modified:today, modified:yesterday, modified:7d (days), 2w (weeks), 3m (30-day months), 1y (365-day years), modified:&gt;YYYY-MM-DD, modified:&lt;YYYY-MM-DD, modified:YYYY-MM-DD or modified:YYYY-MM-DD..YYYY-MM-DD</source>
        <translation>modified:today, modified:yesterday, modified:7d (jours), 2w (semaines), 3m (mois de 30 jours), 1y (années de 365 jours), modified:&gt;YYYY-MM-DD, modified:&lt;YYYY-MM-DD, modified:YYYY-MM-DD ou modified:YYYY-MM-DD..YYYY-MM-DD</translation>
    </message>
    <message>
        <source>contains:TEXT, or contains:&quot;TEXT&quot; for text with blanks or &quot;;&quot;</source>
        <translation>contains:TEXTE, ou contains:&quot;TEXTE&quot; pour un texte avec des espaces ou &quot;;&quot;</translation>
    </message>
    <message>
        <source>skip:NAME, where NAME may hold the wildcards * and ?, as in skip:.git</source>
        <translation>skip:NOM, où NOM peut contenir les jokers * et ?, comme skip:.git</translation>
    </message>
    <message>
        <source>The search term &quot;%1&quot; is not understood. It can be written as %2.</source>
        <translation>Le terme de recherche &quot;%1&quot; n’est pas compris. Il peut s’écrire %2.</translation>
    </message>
</context>
<context>
    <name>Volumes</name>
    <message>
        <source>not answering</source>
        <translation>ne répond pas</translation>
    </message>
</context>
</TS>
