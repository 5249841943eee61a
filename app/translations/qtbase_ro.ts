<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ro_MD" sourcelanguage="en">
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Drive</source>
        <translation>Unitate</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fişier</translation>
    </message>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>Dosar</translation>
    </message>
</context>
<context>
    <name>QCupsJobWidget</name>
    <message>
        <source>Job</source>
        <translation>Lucrarea</translation>
    </message>
    <message>
        <source>Job Control</source>
        <translation>Controlul lucrării</translation>
    </message>
    <message>
        <source>Scheduled printing:</source>
        <translation>Tipărirea programată:</translation>
    </message>
    <message>
        <source>Billing information:</source>
        <translation>Date de facturare:</translation>
    </message>
    <message>
        <source>Job priority:</source>
        <translation>Prioritatea lucrării:</translation>
    </message>
    <message>
        <source>Banner Pages</source>
        <translation>Pagini de separare</translation>
    </message>
    <message>
        <source>Print Immediately</source>
        <translation>Tipărire imediată</translation>
    </message>
    <message>
        <source>Hold Indefinitely</source>
        <translation>Reţinere pe timp nedefinit</translation>
    </message>
    <message>
        <source>Day (06:00 to 17:59)</source>
        <translation>Ziua (06:00 - 17:59)</translation>
    </message>
    <message>
        <source>Night (18:00 to 05:59)</source>
        <translation>Noaptea (18:00 - 05:59)</translation>
    </message>
    <message>
        <source>Second Shift (16:00 to 23:59)</source>
        <translation>Schimbul doi (16:00 - 23:59)</translation>
    </message>
    <message>
        <source>Third Shift (00:00 to 07:59)</source>
        <translation>Schimbul trei (00:00 - 07:59)</translation>
    </message>
    <message>
        <source>Weekend (Saturday to Sunday)</source>
        <translation>Sfârşit de săptămână (sâmbătă - duminică)</translation>
    </message>
    <message>
        <source>Specific Time</source>
        <translation>La o oră anume</translation>
    </message>
    <message>
        <source>End:</source>
        <comment>Banner page at end</comment>
        <translation>Sfârşit:</translation>
    </message>
    <message>
        <source>Start:</source>
        <comment>Banner page at start</comment>
        <translation>Început:</translation>
    </message>
    <message>
        <source>None</source>
        <comment>CUPS Banner page</comment>
        <translation>Niciuna</translation>
    </message>
    <message>
        <source>Standard</source>
        <comment>CUPS Banner page</comment>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Unclassified</source>
        <comment>CUPS Banner page</comment>
        <translation>Neclasificat</translation>
    </message>
    <message>
        <source>Confidential</source>
        <comment>CUPS Banner page</comment>
        <translation>Confidenţial</translation>
    </message>
    <message>
        <source>Classified</source>
        <comment>CUPS Banner page</comment>
        <translation>Clasificat</translation>
    </message>
    <message>
        <source>Secret</source>
        <comment>CUPS Banner page</comment>
        <translation>Secret</translation>
    </message>
    <message>
        <source>Top Secret</source>
        <comment>CUPS Banner page</comment>
        <translation>Strict secret</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Look in:</source>
        <translation>Căutare în:</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Înapoi</translation>
    </message>
    <message>
        <source>Go back</source>
        <translation>Înapoi</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Înainte</translation>
    </message>
    <message>
        <source>Go forward</source>
        <translation>Înainte</translation>
    </message>
    <message>
        <source>Parent Directory</source>
        <translation>Dosarul părinte</translation>
    </message>
    <message>
        <source>Go to the parent directory</source>
        <translation>La dosarul părinte</translation>
    </message>
    <message>
        <source>Create New Folder</source>
        <translation>Dosar nou</translation>
    </message>
    <message>
        <source>Create a New Folder</source>
        <translation>Crearea unui dosar nou</translation>
    </message>
    <message>
        <source>List View</source>
        <translation>Listă</translation>
    </message>
    <message>
        <source>Change to list view mode</source>
        <translation>Afişare ca listă</translation>
    </message>
    <message>
        <source>Detail View</source>
        <translation>Detalii</translation>
    </message>
    <message>
        <source>Change to detail view mode</source>
        <translation>Afişare cu detalii</translation>
    </message>
    <message>
        <source>Sidebar</source>
        <translation>Bară laterală</translation>
    </message>
    <message>
        <source>List of places and bookmarks</source>
        <translation>Locuri şi semne de carte</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Fişiere</translation>
    </message>
    <message>
        <source>Files of type:</source>
        <translation>Fişiere de tipul:</translation>
    </message>
    <message>
        <source>File &amp;name:</source>
        <translation>&amp;Numele fişierului:</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Deschidere</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Salvare</translation>
    </message>
    <message>
        <source>&amp;Choose</source>
        <translation>&amp;Alegere</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Toate fişierele (*)</translation>
    </message>
    <message>
        <source>Show </source>
        <translation>Afişare </translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Redenumire</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>Ş&amp;tergere</translation>
    </message>
    <message>
        <source>Show &amp;hidden files</source>
        <translation>Afişare fişiere a&amp;scunse</translation>
    </message>
    <message>
        <source>&amp;New Folder</source>
        <translation>Dosar &amp;nou</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Dosar nou</translation>
    </message>
    <message>
        <source>Directories</source>
        <translation>Dosare</translation>
    </message>
    <message>
        <source>Directory:</source>
        <translation>Dosar:</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Deschidere</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Salvare ca</translation>
    </message>
    <message>
        <source>Find Directory</source>
        <translation>Alegerea dosarului</translation>
    </message>
    <message>
        <source>Recent Places</source>
        <translation>Locuri recente</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Ştergere</translation>
    </message>
    <message>
        <source>Could not delete directory.</source>
        <translation>Dosarul nu poate fi şters.</translation>
    </message>
    <message>
        <source>Are you sure you want to delete '%1'?</source>
        <translation>Ştergeţi '%1'?</translation>
    </message>
    <message>
        <source>'%1' is write protected.
Do you want to delete it anyway?</source>
        <translation>'%1' este protejat la scriere.
Îl ştergeţi totuşi?</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 există deja.
Îl înlocuiţi?</translation>
    </message>
    <message>
        <source>%1
File not found.
Please verify the correct file name was given.</source>
        <translation>%1
Fişierul nu a fost găsit.
Verificaţi numele fişierului.</translation>
    </message>
    <message>
        <source>%1
Directory not found.
Please verify the correct directory name was given.</source>
        <translation>%1
Dosarul nu a fost găsit.
Verificaţi numele dosarului.</translation>
    </message>
    <message>
        <source>Directory</source>
        <translation>Dosar</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fişier</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Necunoscut</translation>
    </message>
</context>
<context>
    <name>QFileSystemModel</name>
    <message>
        <source>Computer</source>
        <translation>Calculator</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nume</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Mărime</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation>Data modificării</translation>
    </message>
    <message>
        <source>My Computer</source>
        <translation>Calculatorul meu</translation>
    </message>
    <message>
        <source>Invalid filename</source>
        <translation>Nume de fişier nevalabil</translation>
    </message>
    <message>
        <source>Type</source>
        <comment>All other platforms</comment>
        <translation>Tip</translation>
    </message>
</context>
<context>
    <name>QGuiApplication</name>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <translation>LTR</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Anulare</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Refacere</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Decupare</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copiere</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Lipire</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Ştergere</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Selectare totală</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>Show Details...</source>
        <translation>Afişare detalii...</translation>
    </message>
    <message>
        <source>Hide Details...</source>
        <translation>Ascundere detalii...</translation>
    </message>
</context>
<context>
    <name>QPageSetupWidget</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Paper</source>
        <translation>Hârtia</translation>
    </message>
    <message>
        <source>Page size:</source>
        <translation>Mărimea paginii:</translation>
    </message>
    <message>
        <source>Width:</source>
        <translation>Lăţimea:</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>Înălţimea:</translation>
    </message>
    <message>
        <source>Paper source:</source>
        <translation>Sursa hârtiei:</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Orientarea</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Portret</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Peisaj</translation>
    </message>
    <message>
        <source>Reverse landscape</source>
        <translation>Peisaj întors</translation>
    </message>
    <message>
        <source>Reverse portrait</source>
        <translation>Portret întors</translation>
    </message>
    <message>
        <source>Margins</source>
        <translation>Marginile</translation>
    </message>
    <message>
        <source>top margin</source>
        <translation>marginea de sus</translation>
    </message>
    <message>
        <source>left margin</source>
        <translation>marginea din stânga</translation>
    </message>
    <message>
        <source>right margin</source>
        <translation>marginea din dreapta</translation>
    </message>
    <message>
        <source>bottom margin</source>
        <translation>marginea de jos</translation>
    </message>
    <message>
        <source>Page Layout</source>
        <translation>Aşezarea paginilor</translation>
    </message>
    <message>
        <source>Page order:</source>
        <translation>Ordinea paginilor:</translation>
    </message>
    <message>
        <source>Pages per sheet:</source>
        <translation>Pagini pe foaie:</translation>
    </message>
    <message>
        <source>Millimeters (mm)</source>
        <translation>Milimetri (mm)</translation>
    </message>
    <message>
        <source>Inches (in)</source>
        <translation>Ţoli (in)</translation>
    </message>
    <message>
        <source>Points (pt)</source>
        <translation>Puncte (pt)</translation>
    </message>
    <message>
        <source>Pica (P̸)</source>
        <translation>Pica (P̸)</translation>
    </message>
    <message>
        <source>Didot (DD)</source>
        <translation>Didot (DD)</translation>
    </message>
    <message>
        <source>Cicero (CC)</source>
        <translation>Cicero (CC)</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Personalizată</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
</context>
<context>
    <name>QPageSize</name>
    <message>
        <source>Envelope C5</source>
        <translation>Plic C5</translation>
    </message>
    <message>
        <source>Envelope US 10</source>
        <translation>Plic US 10</translation>
    </message>
    <message>
        <source>Envelope DL</source>
        <translation>Plic DL</translation>
    </message>
    <message>
        <source>Envelope B4</source>
        <translation>Plic B4</translation>
    </message>
    <message>
        <source>Envelope B5</source>
        <translation>Plic B5</translation>
    </message>
    <message>
        <source>Envelope B6</source>
        <translation>Plic B6</translation>
    </message>
    <message>
        <source>Envelope C0</source>
        <translation>Plic C0</translation>
    </message>
    <message>
        <source>Envelope C1</source>
        <translation>Plic C1</translation>
    </message>
    <message>
        <source>Envelope C2</source>
        <translation>Plic C2</translation>
    </message>
    <message>
        <source>Envelope C3</source>
        <translation>Plic C3</translation>
    </message>
    <message>
        <source>Envelope C4</source>
        <translation>Plic C4</translation>
    </message>
    <message>
        <source>Envelope C6</source>
        <translation>Plic C6</translation>
    </message>
    <message>
        <source>Envelope C65</source>
        <translation>Plic C65</translation>
    </message>
    <message>
        <source>Envelope C7</source>
        <translation>Plic C7</translation>
    </message>
    <message>
        <source>Envelope US 9</source>
        <translation>Plic US 9</translation>
    </message>
    <message>
        <source>Envelope US 11</source>
        <translation>Plic US 11</translation>
    </message>
    <message>
        <source>Envelope US 12</source>
        <translation>Plic US 12</translation>
    </message>
    <message>
        <source>Envelope US 14</source>
        <translation>Plic US 14</translation>
    </message>
    <message>
        <source>Envelope Monarch</source>
        <translation>Plic Monarch</translation>
    </message>
    <message>
        <source>Envelope Personal</source>
        <translation>Plic Personal</translation>
    </message>
    <message>
        <source>Envelope Chou 3</source>
        <translation>Plic Chou 3</translation>
    </message>
    <message>
        <source>Envelope Chou 4</source>
        <translation>Plic Chou 4</translation>
    </message>
    <message>
        <source>Envelope Invite</source>
        <translation>Plic Invite</translation>
    </message>
    <message>
        <source>Envelope Italian</source>
        <translation>Plic Italian</translation>
    </message>
    <message>
        <source>Envelope Kaku 2</source>
        <translation>Plic Kaku 2</translation>
    </message>
    <message>
        <source>Envelope Kaku 3</source>
        <translation>Plic Kaku 3</translation>
    </message>
    <message>
        <source>Envelope PRC 1</source>
        <translation>Plic PRC 1</translation>
    </message>
    <message>
        <source>Envelope PRC 2</source>
        <translation>Plic PRC 2</translation>
    </message>
    <message>
        <source>Envelope PRC 3</source>
        <translation>Plic PRC 3</translation>
    </message>
    <message>
        <source>Envelope PRC 4</source>
        <translation>Plic PRC 4</translation>
    </message>
    <message>
        <source>Envelope PRC 5</source>
        <translation>Plic PRC 5</translation>
    </message>
    <message>
        <source>Envelope PRC 6</source>
        <translation>Plic PRC 6</translation>
    </message>
    <message>
        <source>Envelope PRC 7</source>
        <translation>Plic PRC 7</translation>
    </message>
    <message>
        <source>Envelope PRC 8</source>
        <translation>Plic PRC 8</translation>
    </message>
    <message>
        <source>Envelope PRC 9</source>
        <translation>Plic PRC 9</translation>
    </message>
    <message>
        <source>Envelope PRC 10</source>
        <translation>Plic PRC 10</translation>
    </message>
    <message>
        <source>Postcard</source>
        <translation>Carte poştală</translation>
    </message>
    <message>
        <source>Double Postcard</source>
        <translation>Carte poştală dublă</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notă</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Personalizată</translation>
    </message>
    <message>
        <source>Custom (%1mm x %2mm)</source>
        <translation>Personalizată (%1mm x %2mm)</translation>
    </message>
    <message>
        <source>Custom (%1pt x %2pt)</source>
        <translation>Personalizată (%1pt x %2pt)</translation>
    </message>
    <message>
        <source>Custom (%1in x %2in)</source>
        <translation>Personalizată (%1in x %2in)</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Salvare</translation>
    </message>
    <message>
        <source>Save All</source>
        <translation>Salvare toate</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Deschidere</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Da</translation>
    </message>
    <message>
        <source>Yes to &amp;All</source>
        <translation>Da la &amp;toate</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nu</translation>
    </message>
    <message>
        <source>N&amp;o to All</source>
        <translation>N&amp;u la toate</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Abandonare</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Reîncercare</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>Ignorare</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Închidere</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Revocare</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Renunţare</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ajutor</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Aplicare</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reiniţializare</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Valorile implicite</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>Print</source>
        <translation>Tipărire</translation>
    </message>
    <message>
        <source>All Pages</source>
        <translation>Toate paginile</translation>
    </message>
    <message>
        <source>Odd Pages</source>
        <translation>Paginile impare</translation>
    </message>
    <message>
        <source>Even Pages</source>
        <translation>Paginile pare</translation>
    </message>
    <message>
        <source>&amp;Options &gt;&gt;</source>
        <translation>&amp;Opţiuni &gt;&gt;</translation>
    </message>
    <message>
        <source>&amp;Options &lt;&lt;</source>
        <translation>&amp;Opţiuni &lt;&lt;</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Tipărire</translation>
    </message>
    <message>
        <source>Print to File (PDF)</source>
        <translation>Tipărire în fişier (PDF)</translation>
    </message>
    <message>
        <source>Local file</source>
        <translation>Fişier local</translation>
    </message>
    <message>
        <source>Write PDF file</source>
        <translation>Scrierea unui fişier PDF</translation>
    </message>
    <message>
        <source>Print To File ...</source>
        <translation>Tipărire în fişier ...</translation>
    </message>
    <message>
        <source>%1 is a directory.
Please choose a different file name.</source>
        <translation>%1 este un dosar.
Alegeţi alt nume de fişier.</translation>
    </message>
    <message>
        <source>File %1 is not writable.
Please choose a different file name.</source>
        <translation>Fişierul %1 nu poate fi scris.
Alegeţi alt nume de fişier.</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to overwrite it?</source>
        <translation>%1 există deja.
Îl suprascrieţi?</translation>
    </message>
    <message>
        <source>The 'From' value cannot be greater than the 'To' value.</source>
        <translation>Prima pagină nu poate fi după ultima.</translation>
    </message>
    <message>
        <source>Left to Right, Top to Bottom</source>
        <translation>De la stânga la dreapta, de sus în jos</translation>
    </message>
    <message>
        <source>Left to Right, Bottom to Top</source>
        <translation>De la stânga la dreapta, de jos în sus</translation>
    </message>
    <message>
        <source>Right to Left, Bottom to Top</source>
        <translation>De la dreapta la stânga, de jos în sus</translation>
    </message>
    <message>
        <source>Right to Left, Top to Bottom</source>
        <translation>De la dreapta la stânga, de sus în jos</translation>
    </message>
    <message>
        <source>Bottom to Top, Left to Right</source>
        <translation>De jos în sus, de la stânga la dreapta</translation>
    </message>
    <message>
        <source>Bottom to Top, Right to Left</source>
        <translation>De jos în sus, de la dreapta la stânga</translation>
    </message>
    <message>
        <source>Top to Bottom, Left to Right</source>
        <translation>De sus în jos, de la stânga la dreapta</translation>
    </message>
    <message>
        <source>Top to Bottom, Right to Left</source>
        <translation>De sus în jos, de la dreapta la stânga</translation>
    </message>
    <message>
        <source>1 (1x1)</source>
        <translation>1 (1x1)</translation>
    </message>
    <message>
        <source>2 (2x1)</source>
        <translation>2 (2x1)</translation>
    </message>
    <message>
        <source>4 (2x2)</source>
        <translation>4 (2x2)</translation>
    </message>
    <message>
        <source>6 (2x3)</source>
        <translation>6 (2x3)</translation>
    </message>
    <message>
        <source>9 (3x3)</source>
        <translation>9 (3x3)</translation>
    </message>
    <message>
        <source>16 (4x4)</source>
        <translation>16 (4x4)</translation>
    </message>
</context>
<context>
    <name>QPrintPreviewDialog</name>
    <message>
        <source>Next page</source>
        <translation>Pagina următoare</translation>
    </message>
    <message>
        <source>Previous page</source>
        <translation>Pagina precedentă</translation>
    </message>
    <message>
        <source>First page</source>
        <translation>Prima pagină</translation>
    </message>
    <message>
        <source>Last page</source>
        <translation>Ultima pagină</translation>
    </message>
    <message>
        <source>Fit width</source>
        <translation>Lăţime pagină</translation>
    </message>
    <message>
        <source>Fit page</source>
        <translation>Pagina întreagă</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Mărire</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Micşorare</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Portret</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Peisaj</translation>
    </message>
    <message>
        <source>Show single page</source>
        <translation>O singură pagină</translation>
    </message>
    <message>
        <source>Show facing pages</source>
        <translation>Pagini alăturate</translation>
    </message>
    <message>
        <source>Show overview of all pages</source>
        <translation>Toate paginile</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Tipărire</translation>
    </message>
    <message>
        <source>Page setup</source>
        <translation>Aşezarea în pagină</translation>
    </message>
    <message>
        <source>Page Setup</source>
        <translation>Aşezarea în pagină</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>Previzualizare</translation>
    </message>
    <message>
        <source>Export to PDF</source>
        <translation>Export în PDF</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesDialog</name>
    <message>
        <source>Printer Properties</source>
        <translation>Proprietăţile imprimantei</translation>
    </message>
    <message>
        <source>Job Options</source>
        <translation>Opţiunile lucrării</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesWidget</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Pagina</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Avansat</translation>
    </message>
    <message>
        <source>There are conflicts in some options. Please fix them.</source>
        <translation>Unele opţiuni sunt în conflict. Corectaţi-le.</translation>
    </message>
</context>
<context>
    <name>QPrintSettingsOutput</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Print range</source>
        <translation>Ce se tipăreşte</translation>
    </message>
    <message>
        <source>Print all</source>
        <translation>Tot</translation>
    </message>
    <message>
        <source>Pages from</source>
        <translation>Paginile de la</translation>
    </message>
    <message>
        <source>to</source>
        <translation>până la</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Paginile</translation>
    </message>
    <message>
        <source>Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.</source>
        <translation>Indicaţi paginile sau intervalele despărţite prin virgule. Un interval se scrie ca două numere despărţite de o cratimă. De exemplu, 3,5-7,9 tipăreşte paginile 3, 5, 6, 7 şi 9.</translation>
    </message>
    <message>
        <source>Current Page</source>
        <translation>Pagina curentă</translation>
    </message>
    <message>
        <source>Selection</source>
        <translation>Selecţia</translation>
    </message>
    <message>
        <source>Page Set:</source>
        <translation>Paginile:</translation>
    </message>
    <message>
        <source>Output Settings</source>
        <translation>Setările tipăririi</translation>
    </message>
    <message>
        <source>Copies:</source>
        <translation>Exemplare:</translation>
    </message>
    <message>
        <source>Collate</source>
        <translation>Asamblare</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>În ordine inversă</translation>
    </message>
    <message>
        <source>Copies</source>
        <translation>Exemplare</translation>
    </message>
    <message>
        <source>Color Mode</source>
        <translation>Culori</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>Grayscale</source>
        <translation>Nuanţe de gri</translation>
    </message>
    <message>
        <source>Double Sided Printing</source>
        <translation>Tipărire faţă-verso</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Nu</translation>
    </message>
    <message>
        <source>Long side binding</source>
        <translation>Legare pe latura lungă</translation>
    </message>
    <message>
        <source>Short side binding</source>
        <translation>Legare pe latura scurtă</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opţiuni</translation>
    </message>
</context>
<context>
    <name>QPrintWidget</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Imprimanta</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Nume:</translation>
    </message>
    <message>
        <source>P&amp;roperties</source>
        <translation>P&amp;roprietăţi</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Locul:</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Previzualizare</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Tipul:</translation>
    </message>
    <message>
        <source>Output &amp;file:</source>
        <translation>&amp;Fişierul de ieşire:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
</context>
<context>
    <name>QScrollBar</name>
    <message>
        <source>Scroll here</source>
        <translation>Derulare aici</translation>
    </message>
    <message>
        <source>Left edge</source>
        <translation>Marginea din stânga</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Sus</translation>
    </message>
    <message>
        <source>Right edge</source>
        <translation>Marginea din dreapta</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>Jos</translation>
    </message>
    <message>
        <source>Page left</source>
        <translation>O pagină la stânga</translation>
    </message>
    <message>
        <source>Page up</source>
        <translation>O pagină în sus</translation>
    </message>
    <message>
        <source>Page right</source>
        <translation>O pagină la dreapta</translation>
    </message>
    <message>
        <source>Page down</source>
        <translation>O pagină în jos</translation>
    </message>
    <message>
        <source>Scroll left</source>
        <translation>Derulare la stânga</translation>
    </message>
    <message>
        <source>Scroll up</source>
        <translation>Derulare în sus</translation>
    </message>
    <message>
        <source>Scroll right</source>
        <translation>Derulare la dreapta</translation>
    </message>
    <message>
        <source>Scroll down</source>
        <translation>Derulare în jos</translation>
    </message>
</context>
<context>
    <name>QTabBar</name>
    <message>
        <source>Scroll Left</source>
        <translation>Derulare la stânga</translation>
    </message>
    <message>
        <source>Scroll Right</source>
        <translation>Derulare la dreapta</translation>
    </message>
</context>
<context>
    <name>QWidgetTextControl</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Anulare</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Refacere</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Decupare</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copiere</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Lipire</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Ştergere</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Selectare totală</translation>
    </message>
</context>
</TS>
