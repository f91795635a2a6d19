<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>CommandLine</name>
    <message>
        <source>Shows this help and exits.</source>
        <translation>Muestra esta ayuda y termina.</translation>
    </message>
    <message>
        <source>Shows the version and exits.</source>
        <translation>Muestra la versión y termina.</translation>
    </message>
    <message>
        <source>The file specification, e.g. &quot;*.jpg;*.png&quot;.</source>
        <translation>La especificación de archivos, p. ej. &quot;*.jpg;*.png&quot;.</translation>
    </message>
    <message>
        <source>SPEC</source>
        <translation>PATRÓN</translation>
    </message>
    <message>
        <source>Starts the search at once.</source>
        <translation>Inicia la búsqueda de inmediato.</translation>
    </message>
    <message>
        <source>Finds files by name below a folder, previews pictures, and exports the list.</source>
        <translation>Busca archivos por nombre dentro de una carpeta, muestra vistas previas de imágenes y exporta la lista.</translation>
    </message>
    <message>
        <source>value</source>
        <translation>valor</translation>
    </message>
    <message>
        <source>folder</source>
        <translation>carpeta</translation>
    </message>
    <message>
        <source>The folder to search in.</source>
        <translation>La carpeta en la que buscar.</translation>
    </message>
    <message>
        <source>[folder]</source>
        <translation>[carpeta]</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos; for more information.</source>
        <translation>Pruebe &apos;%1 --help&apos; para más información.</translation>
    </message>
    <message>
        <source>Only one folder can be searched; more were given.</source>
        <translation>Solo se puede buscar en una carpeta; se indicaron varias.</translation>
    </message>
    <message>
        <source>No such folder: %1</source>
        <translation>No existe la carpeta: %1</translation>
    </message>
    <message>
        <source>Not a folder: %1</source>
        <translation>No es una carpeta: %1</translation>
    </message>
    <message>
        <source>Only files of this size: &gt;N, &gt;=N, &lt;N, &lt;=N, N..M or N, with B, KB, MB, GB or TB after N (1 KB = 1,024 bytes), e.g. &quot;&gt;100MB&quot;. Folders never match. Adds the term size:RANGE.</source>
        <translation>Solo archivos de este tamaño: &gt;N, &gt;=N, &lt;N, &lt;=N, N..M o N, con B, KB, MB, GB o TB tras N (1 KB = 1.024 bytes), p. ej. &quot;&gt;100MB&quot;. Las carpetas nunca coinciden. Añade el término size:RANGO.</translation>
    </message>
    <message>
        <source>RANGE</source>
        <translation>RANGO</translation>
    </message>
    <message>
        <source>Only what was modified then, in local time: today, yesterday, Nd, Nw, Nm or Ny (the last N days, weeks, 30-day months or 365-day years), &gt;DATE, &lt;DATE, DATE or DATE..DATE with DATE as YYYY-MM-DD, e.g. 7d. Adds the term modified:WHEN.</source>
        <translation>Solo lo modificado entonces, en hora local: today, yesterday, Nd, Nw, Nm o Ny (los últimos N días, semanas, meses de 30 días o años de 365 días), &gt;FECHA, &lt;FECHA, FECHA o FECHA..FECHA con FECHA como YYYY-MM-DD, p. ej. 7d. Añade el término modified:CUÁNDO.</translation>
    </message>
    <message>
        <source>WHEN</source>
        <translation>CUÁNDO</translation>
    </message>
    <message>
        <source>Only files that contain this text, in any case, e.g. &quot;invoice 2024&quot;. Binary files are skipped. Adds the term contains:TEXT.</source>
        <translation>Solo archivos que contienen este texto, sin distinguir mayúsculas, p. ej. &quot;factura 2024&quot;. Los archivos binarios se omiten. Añade el término contains:TEXTO.</translation>
    </message>
    <message>
        <source>TEXT</source>
        <translation>TEXTO</translation>
    </message>
    <message>
        <source>Does not enter folders of this name, which may hold * and ?, e.g. node_modules; may be given again. Adds the term skip:NAME.</source>
        <translation>No entra en carpetas con este nombre, que puede llevar * y ?, p. ej. node_modules; puede repetirse. Añade el término skip:NOMBRE.</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>NOMBRE</translation>
    </message>
    <message>
        <source>--%1 cannot hold &quot;;&quot;: %2</source>
        <translation>--%1 no puede contener &quot;;&quot;: %2</translation>
    </message>
    <message>
        <source>--contains cannot hold both &quot;;&quot; and &apos;&quot;&apos;: %1</source>
        <translation>--contains no puede contener a la vez &quot;;&quot; y &apos;&quot;&apos;: %1</translation>
    </message>
</context>
<context>
    <name>Export</name>
    <message>
        <source>No application on this desktop opens spreadsheet files. The spreadsheet was saved as %1.</source>
        <translation>Ninguna aplicación de este escritorio abre hojas de cálculo. La hoja de cálculo se guardó como %1.</translation>
    </message>
    <message>
        <source>No application on this desktop opens document files. The document was saved as %1.</source>
        <translation>Ninguna aplicación de este escritorio abre documentos. El documento se guardó como %1.</translation>
    </message>
    <message>
        <source>Please wait exporting List to PDF : </source>
        <translation>Espere, exportando la lista a PDF: </translation>
    </message>
    <message>
        <source>Error on Line </source>
        <translation>Error en la línea </translation>
    </message>
    <message>
        <source>Quorvel File Search: Function&gt;Getfilename..</source>
        <translation>Quorvel File Search: Función&gt;Getfilename..</translation>
    </message>
    <message>
        <source>Please wait exporting List to Excel : </source>
        <translation>Espere, exportando la lista a Excel: </translation>
    </message>
    <message>
        <source>Please wait exporting List to Excel with Image filename </source>
        <translation>Espere, exportando la lista a Excel con la imagen </translation>
    </message>
    <message>
        <source>Please wait exporting List to Excel</source>
        <translation>Espere, exportando la lista a Excel</translation>
    </message>
    <message>
        <source>A worksheet holds %1 entries; the last %2 of the %3 in the list were left out of %4.</source>
        <translation>Una hoja de cálculo admite %1 entradas; las últimas %2 de las %3 de la lista no se incluyeron en %4.</translation>
    </message>
    <message>
        <source>A worksheet holds %1 links; %2 entries in %3 are plain text, without a link.</source>
        <translation>Una hoja de cálculo admite %1 vínculos; %2 entradas de %3 son texto sin vínculo.</translation>
    </message>
    <message>
        <source>the folder cannot be made</source>
        <translation>no se puede crear la carpeta</translation>
    </message>
    <message>
        <source>Cannot write %1</source>
        <translation>No se puede escribir %1</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>No se puede escribir %1: %2</translation>
    </message>
    <message>
        <source>No application on this desktop opens text files. The list was saved as %1.</source>
        <translation>Ninguna aplicación de este escritorio abre archivos de texto. La lista se guardó como %1.</translation>
    </message>
    <message>
        <source>No application on this desktop opens web pages. The page was saved as %1.</source>
        <translation>Ninguna aplicación de este escritorio abre páginas web. La página se guardó como %1.</translation>
    </message>
    <message>
        <source>No application on this desktop opens PDF files. The PDF file was saved as %1.</source>
        <translation>Ninguna aplicación de este escritorio abre archivos PDF. El archivo PDF se guardó como %1.</translation>
    </message>
</context>
<context>
    <name>FolderList</name>
    <message>
        <source>Reading...</source>
        <translation>Leyendo...</translation>
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
        <translation>Gracias por usar &quot;Quorvel File Search&quot;.<byte value="xd"/>
<byte value="xd"/>
<byte value="xd"/>
Este programa se desarrolló en mi valioso <byte value="xd"/>
tiempo libre, sin sueldo ni patrocinio.<byte value="xd"/>
<byte value="xd"/>
Si le ha gustado, agradeceré su donativo; así <byte value="xd"/>
aseguraré el desarrollo futuro de este <byte value="xd"/>
programa. <byte value="xd"/>
<byte value="xd"/>
<byte value="xd"/>
Gracias por su apoyo,<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Showing selected record no.</source>
        <translation>Número de la entrada elegida</translation>
    </message>
    <message>
        <source>Select Drive</source>
        <translation>Elegir la unidad</translation>
    </message>
    <message>
        <source>Select Directory</source>
        <translation>Elegir la carpeta</translation>
    </message>
    <message>
        <source>write your file specification here,  e.g. *.jpg;*.bmp</source>
        <translation>escriba aquí la especificación de archivos, p. ej. *.jpg;*.bmp</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>click here to search</source>
        <translation>pulse aquí para buscar</translation>
    </message>
    <message>
        <source>Show Listbox while searching</source>
        <translation>Mostrar la lista al buscar</translation>
    </message>
    <message>
        <source>Show Image Preview while searching</source>
        <translation>Vista previa de imágenes al buscar</translation>
    </message>
    <message>
        <source>Showing Desktop Files</source>
        <translation>Archivos del escritorio</translation>
    </message>
    <message>
        <source>Right click to show files from subfolder from Desktop</source>
        <translation>Clic derecho para mostrar también los archivos de las subcarpetas del escritorio</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Imprimir</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimir</translation>
    </message>
    <message>
        <source>P&amp;df</source>
        <translation>P&amp;df</translation>
    </message>
    <message>
        <source>Export List to pdf file</source>
        <translation>Exportar la lista a un archivo PDF</translation>
    </message>
    <message>
        <source>&amp;Html</source>
        <translation>&amp;Html</translation>
    </message>
    <message>
        <source>Export List to Html</source>
        <translation>Exportar la lista a HTML</translation>
    </message>
    <message>
        <source>&amp;Notepad</source>
        <translation>&amp;Texto</translation>
    </message>
    <message>
        <source>Export List to Notepade Text file saved in App path</source>
        <translation>Exportar la lista a un archivo de texto</translation>
    </message>
    <message>
        <source>&amp;Word</source>
        <translation>&amp;Word</translation>
    </message>
    <message>
        <source>Export List to Wordl document with Hyperlink.</source>
        <translation>Exportar la lista a un documento de Word con vínculos.</translation>
    </message>
    <message>
        <source>&amp;Excel</source>
        <translation>&amp;Excel</translation>
    </message>
    <message>
        <source>Export List to Excel Sheet with Hyperlink.</source>
        <translation>Exportar la lista a una hoja de Excel con vínculos.</translation>
    </message>
    <message>
        <source>&amp;Copy Image to Clipboard</source>
        <translation>&amp;Copiar la imagen</translation>
    </message>
    <message>
        <source>image displayed by quorvel software</source>
        <translation>imagen mostrada por Quorvel Software</translation>
    </message>
    <message>
        <source>Showing moving animation from static image, right click to stop.</source>
        <translation>Animación en movimiento de la imagen fija; clic derecho para detenerla.</translation>
    </message>
    <message>
        <source>List box empty</source>
        <translation>La lista está vacía</translation>
    </message>
    <message>
        <source>Goto %1</source>
        <translation>Ir a %1</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>Resultados</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Unidad</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Carpeta</translation>
    </message>
    <message>
        <source>Search folder</source>
        <translation>Carpeta de búsqueda</translation>
    </message>
    <message>
        <source>File specification</source>
        <translation>Especificación de archivos</translation>
    </message>
    <message>
        <source>Items found</source>
        <translation>Elementos encontrados</translation>
    </message>
    <message>
        <source>Size of files found</source>
        <translation>Tamaño de los archivos encontrados</translation>
    </message>
    <message>
        <source>Thank you</source>
        <translation>Gracias</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vista previa</translation>
    </message>
    <message>
        <source>Web page</source>
        <translation>Página web</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Estado</translation>
    </message>
    <message>
        <source>Kind of the previewed file</source>
        <translation>Tipo del archivo en vista previa</translation>
    </message>
    <message>
        <source>Selected entry</source>
        <translation>Entrada elegida</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menú</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportar</translation>
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
        <translation>Archivo de texto</translation>
    </message>
    <message>
        <source>View in</source>
        <translation>Ver en</translation>
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
        <translation>Salir</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Acción</translation>
    </message>
    <message>
        <source>Copy List to Clipboard</source>
        <translation>Copiar la lista al portapapeles</translation>
    </message>
    <message>
        <source>Copy Full Path to Clipboard</source>
        <translation>Copiar la ruta completa</translation>
    </message>
    <message>
        <source>Copy Image to Clipboard</source>
        <translation>Copiar la imagen al portapapeles</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Abrir la carpeta</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Abrir el archivo</translation>
    </message>
    <message>
        <source>File Property</source>
        <translation>Propiedades del archivo</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Quorvel File Search
Version %1
by Quorvel Software (%2)</source>
        <translation>Quorvel File Search
Versión %1
de Quorvel Software (%2)</translation>
    </message>
    <message>
        <source>Unlike Microsoft Windows built-in search utility, Quorvel File Search features provide options for Preview of Image while searching to let you find exactly the files\Images you are looking for.</source>
        <translation>A diferencia de la búsqueda integrada de Microsoft Windows, Quorvel File Search ofrece la vista previa de imágenes durante la búsqueda para que encuentre exactamente los archivos e imágenes que busca.</translation>
    </message>
</context>
<context>
    <name>Preview</name>
    <message>
        <source>There was an error when trying to open a default programme</source>
        <translation>Se produjo un error al abrir con el programa predeterminado</translation>
    </message>
    <message>
        <source>Error........Quorvele  File  Search</source>
        <translation>Error........Quorvel File Search</translation>
    </message>
    <message>
        <source>No filename selected</source>
        <translation>No se eligió ningún nombre de archivo</translation>
    </message>
    <message>
        <source>The picture could not be copied.</source>
        <translation>No se pudo copiar la imagen.</translation>
    </message>
    <message>
        <source>%1 from %2</source>
        <translation>%1 de %2</translation>
    </message>
    <message>
        <source>Office File</source>
        <translation>Archivo de Office</translation>
    </message>
    <message>
        <source>%1 Properties</source>
        <translation>Propiedades de %1</translation>
    </message>
    <message>
        <source>%1:</source>
        <translation>%1:</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Carpeta</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Link to %1</source>
        <translation>Enlace a %1</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 bytes</translation>
    </message>
    <message>
        <source>Created</source>
        <translation>Creado</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Modificado</translation>
    </message>
    <message>
        <source>Accessed</source>
        <translation>Último acceso</translation>
    </message>
    <message>
        <source>Owner</source>
        <translation>Propietario</translation>
    </message>
    <message>
        <source>Permissions</source>
        <translation>Permisos</translation>
    </message>
    <message>
        <source>%1

This path is %L2 bytes long; the system hands other programs paths of at most %L3 bytes, so it cannot be opened or shown from here.</source>
        <translation>%1

Esta ruta tiene %L2 bytes; el sistema solo pasa a otros programas rutas de %L3 bytes como máximo, así que no se puede abrir ni mostrar desde aquí.</translation>
    </message>
</context>
<context>
    <name>Search</name>
    <message>
        <source>Showing Desktop File</source>
        <translation>Archivo del escritorio</translation>
    </message>
    <message>
        <source>Searching in... </source>
        <translation>Buscando en... </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Show Desktop File</source>
        <translation>Ver el escritorio</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Total Items found = %1  in Directories = %2</source>
        <translation>Elementos encontrados = %1  en carpetas = %2</translation>
    </message>
    <message>
        <source>   &gt;&gt;&gt; Size of files found =%1 Bytes ( %2 KB )</source>
        <translation>   &gt;&gt;&gt; Tamaño de lo encontrado =%1 bytes ( %2 KB )</translation>
    </message>
    <message>
        <source>Size of files found under %1 = %2 Bytes (%3 KB )</source>
        <translation>Tamaño de los archivos encontrados en %1 = %2 bytes (%3 KB )</translation>
    </message>
    <message>
        <source>Find in %1 .....Stopped.</source>
        <translation>Búsqueda en %1 .....Detenida.</translation>
    </message>
    <message>
        <source>Find in %1</source>
        <translation>Búsqueda en %1</translation>
    </message>
    <message>
        <source>Find in %1 .....Stopped: more entries than can be counted.</source>
        <translation>Búsqueda en %1 .....Detenida: más elementos de los que se pueden contar.</translation>
    </message>
    <message>
        <source>Find in %1 .....Stopped: out of memory.</source>
        <translation>Búsqueda en %1 .....Detenida: memoria agotada.</translation>
    </message>
    <message>
        <source>size:&gt;N, size:&gt;=N, size:&lt;N, size:&lt;=N, size:N..M or size:N, where N is a number of bytes with B, KB, MB, GB or TB after it (1 KB = 1,024 bytes), as in size:&gt;1.5MB</source>
        <translation>size:&gt;N, size:&gt;=N, size:&lt;N, size:&lt;=N, size:N..M o size:N, donde N es un número de bytes seguido de B, KB, MB, GB o TB (1 KB = 1.024 bytes), como size:&gt;1.5MB</translation>
    </message>
    <message>
        <source>modified:today, modified:yesterday, modified:7d (days), 2w (weeks), 3m (30-day months), 1y (365-day years), modified:&gt;YYYY-MM-DD, modified:&lt;YYYY-MM-DD, modified:YYYY-MM-DD or modified:YYYY-MM-DD..YYYY-MM-DD</source>
        <translation>modified:today, modified:yesterday, modified:7d (días), 2w (semanas), 3m (meses de 30 días), 1y (años de 365 días), modified:&gt;YYYY-MM-DD, modified:&lt;YYYY-MM-DD, modified:YYYY-MM-DD o modified:YYYY-MM-DD..YYYY-MM-DD</translation>
    </message>
    <message>
        <source>contains:TEXT, or contains:&quot;TEXT&quot; for text with blanks or &quot;;&quot;</source>
        <translation>contains:TEXTO, o contains:&quot;TEXTO&quot; para texto con espacios o &quot;;&quot;</translation>
    </message>
    <message>
        <source>skip:NAME, where NAME may hold the wildcards * and ?, as in skip:.git</source>
        <translation>skip:NOMBRE, donde NOMBRE puede llevar los comodines * y ?, como skip:.git</translation>
    </message>
    <message>
        <source>The search term &quot;%1&quot; is not understood. It can be written as %2.</source>
        <translation>El término de búsqueda &quot;%1&quot; no se entiende. Puede escribirse como %2.</translation>
    </message>
</context>
<context>
    <name>Volumes</name>
    <message>
        <source>not answering</source>
        <translation>no responde</translation>
    </message>
</context>
</TS>
