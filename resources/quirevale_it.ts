<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>About</name>
    <message>
        <source>About</source>
        <translation>Informazioni</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Versione</translation>
    </message>
    <message>
        <source>For additional info, suggestions or donations visit the link below:</source>
        <translation>Per informazioni, suggerimenti o donazioni visitare il sito sottostante:</translation>
    </message>
    <message>
        <source>&lt;a href=&quot;https://quirevale.example.org/&quot;&gt;Ostrelind Home Page&lt;/a&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Azw3Packager</name>
    <message>
        <source>Page %1 is not a JPEG picture: a Kindle book holds only those.</source>
        <translation>La pagina %1 non è un&apos;immagine JPEG: un libro Kindle contiene solo quelle.</translation>
    </message>
    <message>
        <source>A Kindle book holds at most %1 pages.</source>
        <translation>Un libro Kindle contiene al massimo %1 pagine.</translation>
    </message>
    <message>
        <source>Page %1 cannot be written: %2</source>
        <translation>Impossibile scrivere la pagina %1: %2</translation>
    </message>
    <message>
        <source>A Kindle book carries its information in its own header, not as %1.</source>
        <translation>Un libro Kindle porta le sue informazioni nella propria intestazione, non come %1.</translation>
    </message>
    <message>
        <source>The book is too large for a Kindle book (%1 MB; at most 4,096 MB).</source>
        <translation>Il libro è troppo grande per un libro Kindle (%1 MB; al massimo 4.096 MB).</translation>
    </message>
    <message>
        <source>The book cannot be written</source>
        <translation>Impossibile scrivere il libro</translation>
    </message>
    <message>
        <source>The pages cannot be read back: %1</source>
        <translation>Impossibile rileggere le pagine: %1</translation>
    </message>
    <message>
        <source>The finished book does not have the size it should.</source>
        <translation>Il libro finito non ha la dimensione che dovrebbe avere.</translation>
    </message>
</context>
<context>
    <name>Book</name>
    <message>
        <source>%1 cannot be used: its name is not valid text</source>
        <translation>%1 non può essere usato: il suo nome non è testo valido</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 non può essere letto: %2</translation>
    </message>
    <message>
        <source>Symbolic links are not listed: %1</source>
        <translation>I collegamenti simbolici non sono elencati: %1</translation>
    </message>
    <message>
        <source>Archives inside it are not opened: %1</source>
        <translation>Gli archivi al suo interno non vengono aperti: %1</translation>
    </message>
    <message>
        <source>Not kept of its ComicInfo.xml: %1</source>
        <translation>Non conservato del suo ComicInfo.xml: %1</translation>
    </message>
    <message>
        <source>Sub-folders without pages are left out: %1</source>
        <translation>Le sottocartelle senza pagine vengono tralasciate: %1</translation>
    </message>
    <message>
        <source>Files of other picture types, not listed: %1 (%2): %3</source>
        <translation>File di altri tipi di immagine, non elencati: %1 (%2): %3</translation>
    </message>
    <message>
        <source>It is %1, whatever its name says</source>
        <translation>È %1, qualunque cosa dica il suo nome</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>da %1 a %2</translation>
    </message>
    <message>
        <source>1 page is a single scan at %1 ppi</source>
        <translation>1 pagina è una singola scansione a %1 ppi</translation>
    </message>
    <message>
        <source>%1 pages are single scans at %2 ppi</source>
        <translation>%1 pagine sono singole scansioni a %2 ppi</translation>
    </message>
    <message>
        <source>1 page is rendered at %1 dpi</source>
        <translation>1 pagina è resa a %1 dpi</translation>
    </message>
    <message>
        <source>%1 pages are rendered at %2 dpi</source>
        <translation>%1 pagine sono rese a %2 dpi</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 e altri %2</translation>
    </message>
    <message>
        <source>no archive made, so that no page is missing from it</source>
        <translation>nessun archivio creato, perché non manchi alcuna pagina</translation>
    </message>
</context>
<context>
    <name>BookBuild</name>
    <message>
        <source>%1 is not a regular file; an archive cannot take its place.</source>
        <translation>%1 non è un file normale; un archivio non può prenderne il posto.</translation>
    </message>
    <message>
        <source>%1 exists already.</source>
        <translation>%1 esiste già.</translation>
    </message>
    <message>
        <source>%1 is a page of this book; the archive cannot take its place.</source>
        <translation>%1 è una pagina di questo volume; l&apos;archivio non può prenderne il posto.</translation>
    </message>
    <message>
        <source>The blank page before a spread cannot be written: %1</source>
        <translation>La pagina bianca prima di una doppia pagina non può essere scritta: %1</translation>
    </message>
    <message>
        <source>a blank page put before it, so that the spread sits on facing pages</source>
        <translation>messa una pagina bianca prima, perché la doppia pagina stia su pagine affiancate</translation>
    </message>
    <message>
        <source>Every page was left out: there is no page to make a book of.</source>
        <translation>Ogni pagina è stata tralasciata: non c&apos;è alcuna pagina di cui fare un volume.</translation>
    </message>
    <message>
        <source>An EPUB holds JPEG and PNG pages: not every e-reader shows WebP. Choose JPEG pages for an EPUB.</source>
        <translation>Un EPUB contiene pagine JPEG e PNG: non tutti i lettori di e-book mostrano il WebP. Scegli pagine JPEG per un EPUB.</translation>
    </message>
    <message>
        <source>A %1 holds JPEG pages: the pages are written as JPEG, not WebP.</source>
        <translation>Un %1 contiene pagine JPEG: le pagine sono scritte in JPEG, non in WebP.</translation>
    </message>
    <message>
        <source>PNG, WebP or GIF pages written as JPEG, as a %1 holds no other pictures as they are: %2.</source>
        <translation>Pagine PNG, WebP o GIF scritte in JPEG, perché un %1 non contiene altre immagini così come sono: %2.</translation>
    </message>
</context>
<context>
    <name>BookCheck</name>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 e altri %2</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2. --fix leaves it out and names it.</source>
        <translation>%1 non si può leggere: %2. --fix la lascia fuori e la nomina.</translation>
    </message>
    <message>
        <source>%1 entries are packed with %2, which many readers cannot unpack (%3). --fix packs them again.</source>
        <translation>%1 voci sono compresse con %2, che molti lettori non sanno decomprimere (%3). --fix le comprime di nuovo.</translation>
    </message>
    <message>
        <source>%1 left out: %2</source>
        <translation>%1 lasciata fuori: %2</translation>
    </message>
    <message>
        <source>%1 left out: it cannot be read</source>
        <translation>%1 lasciata fuori: non si può leggere</translation>
    </message>
    <message>
        <source>%1 of its pages are %2, which Kobo&apos;s and Kindle&apos;s readers and some servers do not show (%3). --fix writes them as JPEG.</source>
        <translation>%1 delle sue pagine sono %2, che i lettori di Kobo e Kindle e alcuni server non mostrano (%3). --fix le scrive come JPEG.</translation>
    </message>
    <message>
        <source>%1 of its pages are in sub-folders (%2): some readers show them out of order or not at all. --fix puts every page at the top.</source>
        <translation>%1 delle sue pagine sono in sottocartelle (%2): alcuni lettori le mostrano fuori ordine o per niente. --fix mette ogni pagina in cima.</translation>
    </message>
    <message>
        <source>%1 page names are not valid text (%2): readers show them garbled or not at all. --fix names the pages afresh.</source>
        <translation>%1 nomi di pagina non sono testo valido (%2): i lettori li mostrano storpiati o per niente. --fix rinomina le pagine da capo.</translation>
    </message>
    <message>
        <source>%1. --fix leaves it out and names it.</source>
        <translation>%1. --fix la lascia fuori e la nomina.</translation>
    </message>
    <message>
        <source>AES encryption</source>
        <translation>cifratura AES</translation>
    </message>
    <message>
        <source>It cannot be read: %1</source>
        <translation>Non si può leggere: %1</translation>
    </message>
    <message>
        <source>It has no ComicInfo.xml: servers know it only by its file name. --fix writes one.</source>
        <translation>Non ha ComicInfo.xml: i server lo conoscono solo dal nome del file. --fix ne scrive uno.</translation>
    </message>
    <message>
        <source>It holds no pages.</source>
        <translation>Non contiene pagine.</translation>
    </message>
    <message>
        <source>It is empty (0 bytes).</source>
        <translation>È vuoto (0 byte).</translation>
    </message>
    <message>
        <source>It is no comic archive (CBZ, CBR, CB7, CBT) or EPUB.</source>
        <translation>Non è un archivio di fumetti (CBZ, CBR, CB7, CBT) né un EPUB.</translation>
    </message>
    <message>
        <source>It is not a regular file.</source>
        <translation>Non è un file regolare.</translation>
    </message>
    <message>
        <source>Its ComicInfo.xml counts %1 pages, but it holds %2: readers show the wrong pages as the cover or as spreads. --fix counts them again.</source>
        <translation>Il suo ComicInfo.xml conta %1 pagine, ma ne contiene %2: i lettori mostrano le pagine sbagliate come copertina o come doppie pagine. --fix le conta di nuovo.</translation>
    </message>
    <message>
        <source>Its ComicInfo.xml fails the schema: %1. Servers that check it take none of it. --fix keeps what the schema allows.</source>
        <translation>Il suo ComicInfo.xml non rispetta lo schema: %1. I server che lo verificano non ne prendono nulla. --fix tiene ciò che lo schema permette.</translation>
    </message>
    <message>
        <source>Its ComicInfo.xml gives %1 pages another size than their entries have (%2): it was written for other pages. --fix writes it again.</source>
        <translation>Il suo ComicInfo.xml dà a %1 pagine una dimensione diversa da quella delle loro voci (%2): fu scritto per altre pagine. --fix lo scrive di nuovo.</translation>
    </message>
    <message>
        <source>Its ComicInfo.xml says Manga &quot;Yes&quot;: servers turn pages right to left only for &quot;YesAndRightToLeft&quot;. --fix writes that.</source>
        <translation>Il suo ComicInfo.xml dice Manga &quot;Yes&quot;: i server girano le pagine da destra a sinistra solo con &quot;YesAndRightToLeft&quot;. --fix scrive quello.</translation>
    </message>
    <message>
        <source>Sorted by name, its pages come in another order (%1 before %2): readers that sort by name show them out of order. --fix names them in order.</source>
        <translation>Ordinate per nome, le sue pagine vengono in un altro ordine (%1 prima di %2): i lettori che ordinano per nome le mostrano fuori ordine. --fix le nomina in ordine.</translation>
    </message>
    <message>
        <source>method %1</source>
        <translation>metodo %1</translation>
    </message>
    <message>
        <source>%1 cannot be read: it is encrypted. --fix leaves it out and names it.</source>
        <translation>%1 non si può leggere: è cifrato. --fix lo lascia fuori e lo nomina.</translation>
    </message>
    <message>
        <source>%1 of its names are each given to more than one entry (%2): readers that look pages up by name show one of them twice and lose the others. --fix names the pages afresh.</source>
        <translation>%1 dei suoi nomi sono dati ciascuno a più di una voce (%2): i lettori che cercano le pagine per nome ne mostrano una due volte e perdono le altre. --fix dà nuovi nomi alle pagine.</translation>
    </message>
    <message>
        <source>It is %1, whatever its name says: readers that go by the name fail to open it. --fix makes a CBZ of it.</source>
        <translation>È %1, qualunque cosa dica il suo nome: i lettori che si fidano del nome non riescono ad aprirlo. --fix ne fa un CBZ.</translation>
    </message>
    <message>
        <source>It is a %1 archive, which many readers and servers do not open (they open a CBZ, a ZIP). --fix makes a CBZ of it.</source>
        <translation>È un archivio %1, che molti lettori e server non aprono (aprono un CBZ, uno ZIP). --fix ne fa un CBZ.</translation>
    </message>
</context>
<context>
    <name>BookJob</name>
    <message>
        <source>Stopped; nothing was made.</source>
        <translation>Fermato; non è stato creato niente.</translation>
    </message>
    <message>
        <source>%1 exists already</source>
        <translation>%1 esiste già</translation>
    </message>
    <message>
        <source>Its source is gone: %1</source>
        <translation>La sua sorgente non c’è più: %1</translation>
    </message>
    <message>
        <source>It cannot be read: %1</source>
        <translation>Non si può leggere: %1</translation>
    </message>
    <message>
        <source>Its source has changed since it was added: %1 is gone</source>
        <translation>La sua sorgente è cambiata da quando è stato aggiunto: %1 non c’è più</translation>
    </message>
    <message>
        <source>The folder for its book cannot be made: %1</source>
        <translation>La cartella per il suo volume non può essere creata: %1</translation>
    </message>
    <message>
        <source>None of its page files can be used.</source>
        <translation>Nessuno dei suoi file di pagina si può usare.</translation>
    </message>
    <message>
        <source>It has no pages.</source>
        <translation>Non ha pagine.</translation>
    </message>
    <message>
        <source>%1 cannot be read</source>
        <translation>%1 non si può leggere</translation>
    </message>
</context>
<context>
    <name>BookPreset</name>
    <message>
        <source>Colour tablet</source>
        <translation>Tablet a colori</translation>
    </message>
    <message>
        <source>E-ink reader, 6 inches</source>
        <translation>Lettore e-ink, 6 pollici</translation>
    </message>
    <message>
        <source>E-ink reader, 7 to 8 inches</source>
        <translation>Lettore e-ink, da 7 a 8 pollici</translation>
    </message>
    <message>
        <source>E-ink reader, 10 inches</source>
        <translation>Lettore e-ink, 10 pollici</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>Telefono</translation>
    </message>
    <message>
        <source>As scanned</source>
        <translation>Come scansionato</translation>
    </message>
    <message>
        <source>original size</source>
        <translation>dimensioni originali</translation>
    </message>
    <message>
        <source>fit within %1 × %2</source>
        <translation>adattate entro %1 × %2</translation>
    </message>
    <message>
        <source>exactly %1 × %2</source>
        <translation>esattamente %1 × %2</translation>
    </message>
    <message>
        <source>never enlarged</source>
        <translation>mai ingrandite</translation>
    </message>
    <message>
        <source>smooth</source>
        <translation>con filtro</translation>
    </message>
    <message>
        <source>quality %1</source>
        <translation>qualità %1</translation>
    </message>
    <message>
        <source>grey pages as grey</source>
        <translation>pagine grigie in grigio</translation>
    </message>
    <message>
        <source>every page grey</source>
        <translation>ogni pagina in grigio</translation>
    </message>
    <message>
        <source>JPEG</source>
        <translation>JPEG</translation>
    </message>
    <message>
        <source>WebP</source>
        <translation>WebP</translation>
    </message>
    <message>
        <source>lossless WebP</source>
        <translation>WebP senza perdita</translation>
    </message>
    <message>
        <source>unchanged pages kept as they are</source>
        <translation>pagine invariate tenute come sono</translation>
    </message>
    <message>
        <source>cuts on the blocks</source>
        <translation>tagli sui blocchi</translation>
    </message>
    <message>
        <source>stored</source>
        <translation>senza compressione</translation>
    </message>
    <message>
        <source>spreads cut at %1 %</source>
        <translation>doppie pagine tagliate al %1 %</translation>
    </message>
    <message>
        <source>border %1 px</source>
        <translation>bordo di %1 px</translation>
    </message>
    <message>
        <source>margins trimmed</source>
        <translation>margini rifilati</translation>
    </message>
    <message>
        <source>wide pages cut in two at %1 %</source>
        <translation>pagine larghe divise in due al %1 %</translation>
    </message>
    <message>
        <source>right half first</source>
        <translation>prima la metà destra</translation>
    </message>
    <message>
        <source>left half first</source>
        <translation>prima la metà sinistra</translation>
    </message>
    <message>
        <source>scans straightened</source>
        <translation>scansioni raddrizzate</translation>
    </message>
    <message>
        <source>paper evened out, gamma %1</source>
        <translation>carta uniformata, gamma %1</translation>
    </message>
    <message>
        <source>blank pages left out</source>
        <translation>pagine bianche tralasciate</translation>
    </message>
    <message>
        <source>spreads on facing pages</source>
        <translation>doppie pagine su pagine affiancate</translation>
    </message>
    <message>
        <source>PDF pages at %1 dpi</source>
        <translation>pagine PDF a %1 dpi</translation>
    </message>
    <message>
        <source>Kobo Clara Colour</source>
        <translation>Kobo Clara Colour</translation>
    </message>
    <message>
        <source>Kobo Libra Colour</source>
        <translation>Kobo Libra Colour</translation>
    </message>
    <message>
        <source>colours %1% stronger</source>
        <translation>colori più forti del %1%</translation>
    </message>
    <message>
        <source>gamma %1</source>
        <translation>gamma %1</translation>
    </message>
    <message>
        <source>reMarkable Paper Pro</source>
        <translation>reMarkable Paper Pro</translation>
    </message>
    <message>
        <source>long strips cut %1 high</source>
        <translation>strisce lunghe tagliate alte %1</translation>
    </message>
    <message>
        <source>Kindle</source>
        <translation>Kindle</translation>
    </message>
    <message>
        <source>Kindle Paperwhite</source>
        <translation>Kindle Paperwhite</translation>
    </message>
    <message>
        <source>Kindle Oasis</source>
        <translation>Kindle Oasis</translation>
    </message>
    <message>
        <source>Kindle Scribe</source>
        <translation>Kindle Scribe</translation>
    </message>
    <message>
        <source>pages made at the screen&apos;s own size, where converters built on Amazon&apos;s tools stop at 1440 × 1920; a larger page would only be scaled down on the device, at the cost of its memory and time</source>
        <translation>pagine fatte alla misura dello schermo, dove i convertitori basati sugli strumenti di Amazon si fermano a 1440 × 1920; una pagina più grande verrebbe solo rimpicciolita sul dispositivo, a spese della sua memoria e del suo tempo</translation>
    </message>
    <message>
        <source>Kindle Colorsoft</source>
        <translation>Kindle Colorsoft</translation>
    </message>
    <message>
        <source>Kindle by mail (EPUB)</source>
        <translation>Kindle via e-mail (EPUB)</translation>
    </message>
    <message>
        <source>parts of at most %1 MB</source>
        <translation>parti di al massimo %1 MB</translation>
    </message>
</context>
<context>
    <name>BookSources</name>
    <message>
        <source>Chapters</source>
        <translation>Capitoli</translation>
    </message>
    <message>
        <source>List the pages of these %1 folders and archives as the chapters of one book, in the order of their names?</source>
        <translation>Elencare le pagine di queste %1 cartelle e archivi come i capitoli di un solo volume, nell&apos;ordine dei loro nomi?</translation>
    </message>
    <message>
        <source>None of the page files of this folder can be used.</source>
        <translation>Nessuno dei file di pagina di questa cartella può essere usato.</translation>
    </message>
    <message>
        <source>%1 of its sub-folders hold pages.</source>
        <translation>%1 delle sue sottocartelle contengono pagine.</translation>
    </message>
    <message>
        <source>List the pages of its %1 sub-folders as chapters</source>
        <translation>Elenca come capitoli le pagine delle sue %1 sottocartelle</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 non può essere letto: %2</translation>
    </message>
    <message>
        <source>Open Archive</source>
        <translation>Apri archivio</translation>
    </message>
    <message>
        <source>Comic archives, PDFs and EPUBs (%1)</source>
        <translation>Archivi di fumetti, PDF ed EPUB (%1)</translation>
    </message>
    <message>
        <source>A chapter cannot be read: %1</source>
        <translation>Un capitolo non può essere letto: %1</translation>
    </message>
    <message>
        <source>%1 is neither a folder, a comic archive nor a page (%2). Drop a folder of pages, a comic archive, or one of its pages.</source>
        <translation>%1 non è né una cartella, né un archivio di fumetti, né una pagina (%2). Trascinare una cartella di pagine, un archivio di fumetti, o una delle sue pagine.</translation>
    </message>
    <message>
        <source>It has no pages of its own, but holds %1 books (archives, PDFs or EPUBs).</source>
        <translation>Non ha pagine proprie, ma contiene %1 libri (archivi, PDF o EPUB).</translation>
    </message>
    <message>
        <source>Queue Its %1 Books, One Each</source>
        <translation>Metti in coda i suoi %1 libri, uno ciascuno</translation>
    </message>
</context>
<context>
    <name>BuildController</name>
    <message>
        <source>Some pages were made differently; the details say how.</source>
        <translation>Alcune pagine sono state create diversamente; i dettagli dicono come.</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Apri cartella</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>A CBZ file is being made. Stop it and close the window?</source>
        <translation>Si sta creando un file CBZ. Interromperlo e chiudere la finestra?</translation>
    </message>
    <message>
        <source>Stop and Close</source>
        <translation>Interrompi e chiudi</translation>
    </message>
    <message>
        <source>Keep Building</source>
        <translation>Continua</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 esiste già.
Sostituirlo?</translation>
    </message>
    <message>
        <source>Some pages cannot be read. Make the archive without them?</source>
        <translation>Alcune pagine non si possono leggere. Creare l&apos;archivio senza di esse?</translation>
    </message>
    <message>
        <source>Leave Them Out</source>
        <translation>Tralasciale</translation>
    </message>
    <message>
        <source>Left out, as they cannot be read: %1</source>
        <translation>Tralasciate perché non si possono leggere: %1</translation>
    </message>
    <message>
        <source>Create %1</source>
        <translation>Crea %1</translation>
    </message>
    <message>
        <source>Make %1</source>
        <translation>Crea %1</translation>
    </message>
    <message>
        <source>Unable to create %1 file!</source>
        <translation>Impossibile creare il file %1!</translation>
    </message>
    <message>
        <source>A %1 file is being made. Stop it and close the window?</source>
        <translation>Si sta creando un file %1. Fermarlo e chiudere la finestra?</translation>
    </message>
    <message>
        <source>The right half of each cut page came first: the book is read right to left. Choose Left under &quot;First page begins from&quot; for the other.</source>
        <translation>La metà destra di ogni pagina tagliata è venuta prima: il libro si legge da destra a sinistra. Scegli Sinistra in &quot;La prima pagina comincia da&quot; per l&apos;altra.</translation>
    </message>
    <message>
        <source>The left half of each cut page came first: the book is read left to right. Choose Right under &quot;First page begins from&quot; for the other.</source>
        <translation>La metà sinistra di ogni pagina tagliata è venuta prima: il libro si legge da sinistra a destra. Scegli Destra in &quot;La prima pagina comincia da&quot; per l&apos;altra.</translation>
    </message>
</context>
<context>
    <name>CheckBooksDialog</name>
    <message>
        <source>%1 exists already: not made again.</source>
        <translation>%1 esiste già: non viene rifatto.</translation>
    </message>
    <message>
        <source>%1 of %2 books checked: %3 clean, %4 with findings.</source>
        <translation>%1 di %2 libri controllati: %3 puliti, %4 con problemi.</translation>
    </message>
    <message>
        <source>Beside each book with findings, a clean copy named &quot;(fixed)&quot;: its pages in order at the top, JPEG and PNG pages as they are, the others as JPEG, its ComicInfo.xml written again. The books themselves are not touched.</source>
        <translation>Accanto a ogni libro con problemi, una copia pulita chiamata &quot;(fixed)&quot;: le pagine in ordine in cima, le pagine JPEG e PNG come sono, le altre in JPEG, il ComicInfo.xml riscritto. I libri stessi non vengono toccati.</translation>
    </message>
    <message>
        <source>Check Books</source>
        <translation>Controlla libri</translation>
    </message>
    <message>
        <source>Checking… %1</source>
        <translation>Controllo in corso… %1</translation>
    </message>
    <message>
        <source>Looking for books…</source>
        <translation>Ricerca dei libri…</translation>
    </message>
    <message>
        <source>Make Clean Copies</source>
        <translation>Crea copie pulite</translation>
    </message>
    <message>
        <source>No clean copy of %1: %2</source>
        <translation>Nessuna copia pulita di %1: %2</translation>
    </message>
    <message>
        <source>No comic archive or EPUB was found in what was chosen.</source>
        <translation>Tra ciò che è stato scelto non c’è alcun archivio di fumetti né EPUB.</translation>
    </message>
    <message>
        <source>Clean copy made: %1 (%2)</source>
        <translation>Copia pulita creata: %1 (%2)</translation>
    </message>
</context>
<context>
    <name>CliArguments</name>
    <message>
        <source>Try &apos;quirevale-cli --help&apos; for more.</source>
        <translation>Provare &apos;quirevale-cli --help&apos; per saperne di più.</translation>
    </message>
    <message>
        <source>Show this help and stop.</source>
        <translation>Mostra questo aiuto ed esce.</translation>
    </message>
    <message>
        <source>Show the version and stop.</source>
        <translation>Mostra la versione ed esce.</translation>
    </message>
    <message>
        <source>The archive to make, for one folder; for several, the folder that receives &lt;folder name&gt;.cbz for each. Without it each archive goes beside its folder.</source>
        <translation>L&apos;archivio da creare, per una cartella; per più cartelle, la cartella che riceve &lt;nome cartella&gt;.cbz per ciascuna. Senza, ogni archivio va accanto alla sua cartella.</translation>
    </message>
    <message>
        <source>path</source>
        <translation>percorso</translation>
    </message>
    <message>
        <source>n</source>
        <translation>n</translation>
    </message>
    <message>
        <source>Pages made side by side (default: one per core). Give 1 when several quirevale-cli run at once.</source>
        <translation>Pagine elaborate in parallelo (predefinito: una per core). Indicare 1 quando più quirevale-cli girano insieme.</translation>
    </message>
    <message>
        <source>Replace archives that exist already.</source>
        <translation>Sostituisce gli archivi già esistenti.</translation>
    </message>
    <message>
        <source>Only list the pages of each folder, in archive order.</source>
        <translation>Elenca soltanto le pagine di ogni cartella, nell&apos;ordine dell&apos;archivio.</translation>
    </message>
    <message>
        <source>Say nothing but errors.</source>
        <translation>Non mostra nulla tranne gli errori.</translation>
    </message>
    <message>
        <source>FOLDER</source>
        <translation>CARTELLA</translation>
    </message>
    <message>
        <source>A folder of page images, a comic archive or a PDF.</source>
        <translation>Una cartella di immagini di pagine, un archivio di fumetti o un PDF.</translation>
    </message>
    <message>
        <source>FOLDER...</source>
        <translation>CARTELLA...</translation>
    </message>
    <message>
        <source>--%1: &apos;%2&apos; is not %3</source>
        <translation>--%1: &apos;%2&apos; non è %3</translation>
    </message>
    <message>
        <source>no folder given</source>
        <translation>nessuna cartella indicata</translation>
    </message>
    <message>
        <source>The book&apos;s title (for ComicInfo.xml).</source>
        <translation>Il titolo del volume (per ComicInfo.xml).</translation>
    </message>
    <message>
        <source>text</source>
        <translation>testo</translation>
    </message>
    <message>
        <source>The series it belongs to.</source>
        <translation>La serie a cui appartiene.</translation>
    </message>
    <message>
        <source>Its number in the series, such as 12 or 12b.</source>
        <translation>Il suo numero nella serie, come 12 o 12b.</translation>
    </message>
    <message>
        <source>Who wrote it.</source>
        <translation>Chi lo ha scritto.</translation>
    </message>
    <message>
        <source>name</source>
        <translation>nome</translation>
    </message>
    <message>
        <source>Who drew it (the penciller).</source>
        <translation>Chi lo ha disegnato (il disegnatore).</translation>
    </message>
    <message>
        <source>Who published it.</source>
        <translation>Chi lo ha pubblicato.</translation>
    </message>
    <message>
        <source>Its language, as an ISO code such as en or it.</source>
        <translation>La sua lingua, come codice ISO quale en o it.</translation>
    </message>
    <message>
        <source>code</source>
        <translation>codice</translation>
    </message>
    <message>
        <source>What it is about.</source>
        <translation>Di che cosa parla.</translation>
    </message>
    <message>
        <source>Its volume number.</source>
        <translation>Il numero del volume.</translation>
    </message>
    <message>
        <source>The year it came out, 1000 to 2999.</source>
        <translation>L&apos;anno di uscita, da 1000 a 2999.</translation>
    </message>
    <message>
        <source>a year from 1000 to 2999</source>
        <translation>un anno da 1000 a 2999</translation>
    </message>
    <message>
        <source>Make the archive without page files that cannot be read or whose names are not valid text (they are named either way; without this, such a folder is not made).</source>
        <translation>Crea l&apos;archivio senza i file di pagina che non si possono leggere o i cui nomi non sono testo valido (vengono nominati comunque; senza questa opzione, una cartella così non viene creata).</translation>
    </message>
    <message>
        <source>--output: an empty name is no place for an archive</source>
        <translation>--output: un nome vuoto non è un posto per un archivio</translation>
    </message>
    <message>
        <source>a whole number from %1 to %2</source>
        <translation>un numero intero da %1 a %2</translation>
    </message>
    <message>
        <source>Makes a CBZ comic archive of each folder of page images (%1), comic archive
or PDF, its pages in natural order, as numbered entries.</source>
        <translation>Crea un archivio di fumetti CBZ da ogni cartella di immagini di pagine (%1), archivio
di fumetti o PDF, con le pagine in ordine naturale, come voci numerate.</translation>
    </message>
    <message>
        <source>a width and height such as 1200x1800, each from %1 to %2</source>
        <translation>una larghezza e un&apos;altezza come 1200x1800, ciascuna da %1 a %2</translation>
    </message>
    <message>
        <source>file</source>
        <translation>file</translation>
    </message>
    <message>
        <source>--fit and --resize: give one of them</source>
        <translation>--fit e --resize: indicarne uno solo</translation>
    </message>
    <message>
        <source>--pages: give one folder, whose pages the file names</source>
        <translation>--pages: indicare una sola cartella, le cui pagine il file nomina</translation>
    </message>
    <message>
        <source>List the pages of each folder&apos;s sub-folders (up to six levels down) as the chapters of one book, each marked in ComicInfo.xml.</source>
        <translation>Elenca le pagine delle sottocartelle di ogni cartella (fino a sei livelli sotto) come capitoli di un solo libro, ciascuno segnato in ComicInfo.xml.</translation>
    </message>
    <message>
        <source>%1 or %2</source>
        <translation>%1 o %2</translation>
    </message>
    <message>
        <source>Scale every page to exactly this width and height, %1 to %2 each.</source>
        <translation>Ridimensiona ogni pagina esattamente a questa larghezza e altezza, da %1 a %2 ciascuna.</translation>
    </message>
    <message>
        <source>Scale every page to the largest size within this width and height, its proportions kept.</source>
        <translation>Ridimensiona ogni pagina alla dimensione più grande entro questa larghezza e altezza, mantenendone le proporzioni.</translation>
    </message>
    <message>
        <source>Cut each page in two at this percentage of its width, %1 to %2.</source>
        <translation>Divide ogni pagina in due a questa percentuale della larghezza, da %1 a %2.</translation>
    </message>
    <message>
        <source>Cut only pages wider than tall (the spreads among single pages).</source>
        <translation>Divide solo le pagine più larghe che alte (le doppie pagine tra le pagine singole).</translation>
    </message>
    <message>
        <source>Which half of a cut page comes first: left or right (default right).</source>
        <translation>Quale metà di una pagina divisa viene prima: left (sinistra) o right (destra; predefinita).</translation>
    </message>
    <message>
        <source>Cut this many pixels off every side, %1 to %2.</source>
        <translation>Taglia questo numero di pixel da ogni lato, da %1 a %2.</translation>
    </message>
    <message>
        <source>Cut away plain margins (paper, a scanner&apos;s bed), each side at most a third; a pixel within TOLERANCE of the margin&apos;s colour is margin (%1 to %2, default %3).</source>
        <translation>Taglia via i margini uniformi (carta, piano dello scanner), al massimo un terzo per lato; un pixel entro TOLLERANZA dal colore del margine è margine (da %1 a %2, predefinita %3).</translation>
    </message>
    <message>
        <source>Put JPEG, PNG, WebP and GIF pages that no option changes into the archive as they are.</source>
        <translation>Mette nell&apos;archivio così come sono le pagine JPEG, PNG, WebP e GIF che nessuna opzione modifica.</translation>
    </message>
    <message>
        <source>Store the pages without compression: JPEG and WebP data hardly deflate, and the archive is made in a fraction of the time.</source>
        <translation>Memorizza le pagine senza compressione: i dati JPEG e WebP quasi non si comprimono, e l&apos;archivio si crea in una frazione del tempo.</translation>
    </message>
    <message>
        <source>Turn, border and split JPEG pages on their compressed blocks, without encoding them again; a cut&apos;s left and top edges move back to the 8 or 16 pixel grid.</source>
        <translation>Ruota, rifila il bordo e divide le pagine JPEG sui loro blocchi compressi, senza codificarle di nuovo; i bordi sinistro e superiore di un taglio arretrano sulla griglia di 8 o 16 pixel.</translation>
    </message>
    <message>
        <source>List pictures of every type this program reads (%1), not only %2.</source>
        <translation>Elenca le immagini di ogni tipo che questo programma legge (%1), non solo %2.</translation>
    </message>
    <message>
        <source>Write pages in grey (JPEGs of one channel, or grey WebP): auto, those without colour; all, every page (for e-ink readers).</source>
        <translation>Scrive le pagine in grigio (JPEG a un canale, o WebP grigi): auto, quelle senza colore; all, ogni pagina (per i lettori e-ink).</translation>
    </message>
    <message>
        <source>What the pages are written as: jpeg (the default) or webp, at the same quality, or webp-lossless, every pixel kept.</source>
        <translation>Come vengono scritte le pagine: jpeg (predefinito) o webp, con la stessa qualità, oppure webp-lossless, conservando ogni pixel.</translation>
    </message>
    <message>
        <source>Write ComicInfo.xml into each archive, its title, series and number taken from the folder&apos;s name unless given below.</source>
        <translation>Scrive ComicInfo.xml in ogni archivio, con titolo, serie e numero presi dal nome della cartella se non indicati qui sotto.</translation>
    </message>
    <message>
        <source>Quality of the pages made, JPEG or WebP, %1 to %2 (default %3).</source>
        <translation>Qualità delle pagine create, JPEG o WebP, da %1 a %2 (predefinita %3).</translation>
    </message>
    <message>
        <source>Scale with filtering: slower, and finer lines.</source>
        <translation>Ridimensiona con filtro: più lento, e linee più fini.</translation>
    </message>
    <message>
        <source>The resolution PDF pages are rendered at, %1 to %2 dots per inch (default %3).</source>
        <translation>La risoluzione a cui vengono rese le pagine PDF, da %1 a %2 punti per pollice (predefinita %3).</translation>
    </message>
    <message>
        <source>It is read from right to left, as manga are: the right half of a cut page comes first.</source>
        <translation>Si legge da destra a sinistra, come i manga: la metà destra di una pagina tagliata viene per prima.</translation>
    </message>
    <message>
        <source>It is read from left to right: the left half of a cut page comes first.</source>
        <translation>Si legge da sinistra a destra: la metà sinistra di una pagina tagliata viene per prima.</translation>
    </message>
    <message>
        <source>--right-to-left and --left-to-right: give one of them</source>
        <translation>--right-to-left e --left-to-right: indicane uno solo</translation>
    </message>
    <message>
        <source>Make the archive without pictures of other types than the page types (they are named either way; without this or --every-type, such a folder is not made).</source>
        <translation>Crea l&apos;archivio senza le immagini di tipi diversi da quelli delle pagine (sono nominate comunque; senza questa opzione o --every-type, la cartella non viene convertita).</translation>
    </message>
    <message>
        <source>With --fit, pages that already fit keep their size instead of being enlarged.</source>
        <translation>Con --fit, le pagine che già ci stanno mantengono le loro dimensioni invece di essere ingrandite.</translation>
    </message>
    <message>
        <source>List the presets and what each sets, and stop.</source>
        <translation>Elenca i preset e cosa imposta ciascuno, poi termina.</translation>
    </message>
    <message>
        <source>--preset: there is no preset &apos;%1&apos;; --list-presets lists them</source>
        <translation>--preset: non esiste il preset &apos;%1&apos;; --list-presets li elenca</translation>
    </message>
    <message>
        <source>Start from a preset&apos;s options (see --list-presets); the options given with it change them.</source>
        <translation>Parti dalle opzioni di un preset (vedi --list-presets); le opzioni indicate insieme le cambiano.</translation>
    </message>
    <message>
        <source>Straighten scanned pages: each page&apos;s slant (up to 5°) is found and turned back; a page whose slant cannot be told is left as it is, and said so.</source>
        <translation>Raddrizza le pagine scansionate: si trova l&apos;inclinazione di ogni pagina (fino a 5°) e la si annulla; una pagina la cui inclinazione non si può stabilire resta com&apos;è, e lo si dice.</translation>
    </message>
    <message>
        <source>Even out the paper, then apply this gamma, in hundredths (%1 to %2, default %3): above 100 lightens the middle tones, as e-ink screens want.</source>
        <translation>Uniforma la carta, poi applica questa gamma, in centesimi (da %1 a %2, predefinita %3): sopra 100 schiarisce i toni medi, come vogliono gli schermi e-ink.</translation>
    </message>
    <message>
        <source>Even out the paper: each page&apos;s levels stretched so that its paper is white and its ink black, colours kept.</source>
        <translation>Uniforma la carta: i livelli di ogni pagina vengono estesi perché la carta sia bianca e l&apos;inchiostro nero, mantenendo i colori.</translation>
    </message>
    <message>
        <source>Leave out pages with nothing on them (a scanner&apos;s noise, specks and a thin edge aside); the report names them.</source>
        <translation>Lascia fuori le pagine senza nulla sopra (a parte il rumore dello scanner, qualche puntino e un bordo sottile); il resoconto le nomina.</translation>
    </message>
    <message>
        <source>Put a blank page before a spread kept whole that would begin on the second page of a two-page reader&apos;s pair (the cover shown alone), so that every spread sits on facing pages.</source>
        <translation>Mette una pagina bianca prima di una doppia pagina tenuta intera che comincerebbe sulla seconda pagina di una coppia di un lettore a due pagine (con la copertina da sola), perché ogni doppia pagina stia su pagine affiancate.</translation>
    </message>
    <message>
        <source>Pages of their own, from a file: a line a page, its file name, a tab, then any of cut, nocut, border N, noborder, rotate 90|180|270, straighten [DEGREES], nostraighten, nolevels, keepblank. One folder only.</source>
        <translation>Pagine con impostazioni proprie, da un file: una riga per pagina, il nome del file, una tabulazione, poi cut, nocut, border N, noborder, rotate 90|180|270, straighten [GRADI], nostraighten, nolevels, keepblank. Una sola cartella.</translation>
    </message>
    <message>
        <source>Make only the books whose archives do not exist yet, and say which were skipped: a shelf can be run again after it was stopped or grew.</source>
        <translation>Crea solo i volumi i cui archivi non esistono ancora, e dice quali sono stati saltati: uno scaffale si può rieseguire dopo che è stato interrotto o è cresciuto.</translation>
    </message>
    <message>
        <source>--force replaces archives that exist, --skip-existing keeps them: give one</source>
        <translation>--force sostituisce gli archivi esistenti, --skip-existing li mantiene: indicarne uno</translation>
    </message>
    <message>
        <source>--fix: give it with --check</source>
        <translation>--fix: va dato con --check</translation>
    </message>
    <message>
        <source>Apply this gamma to every page, in hundredths (%1 to %2, default %3): above 100 lightens the middle tones; greys stay grey.</source>
        <translation>Applica questa gamma a ogni pagina, in centesimi (da %1 a %2, predefinito %3): sopra 100 schiarisce i toni medi; i grigi restano grigi.</translation>
    </message>
    <message>
        <source>Check books made already (CBZ, CBR, CB7, EPUB) for what readers and servers trip on, a line each with what to do; exit 1 when any has findings, 0 when all are clean.</source>
        <translation>Controlla libri già fatti (CBZ, CBR, CB7, EPUB) per ciò su cui inciampano lettori e server, una riga ciascuno con cosa fare; esce con 1 se qualcuno ha problemi, 0 se sono tutti puliti.</translation>
    </message>
    <message>
        <source>Make colours this much stronger, in percent (%1 to %2, default %3), for a colour e-ink screen that shows them pale; greys stay grey.</source>
        <translation>Rende i colori più forti di tanto, in percentuale (da %1 a %2, predefinito %3), per uno schermo e-ink a colori che li mostra pallidi; i grigi restano grigi.</translation>
    </message>
    <message>
        <source>With --check, make a clean copy of each book with findings beside it, named &quot;&lt;name&gt; (fixed).cbz&quot;; never over the book itself.</source>
        <translation>Con --check, crea accanto a ogni libro con problemi una copia pulita, chiamata &quot;&lt;nome&gt; (fixed).cbz&quot;; mai sopra il libro stesso.</translation>
    </message>
    <message>
        <source>Join long strips (a webtoon&apos;s tiles: pages of one width at least twice as tall as wide) and cut them into pages at most this high (%1 to %2, default %3), each cut on a plain band between panels where one is in reach. Other pages are left alone.</source>
        <translation>Unisce le strisce lunghe (i pezzi di un webtoon: pagine di una stessa larghezza alte almeno il doppio) e le taglia in pagine alte al massimo così (da %1 a %2, predefinito %3), ogni taglio su una fascia uniforme tra le vignette dove ce n&apos;è una a portata. Le altre pagine restano come sono.</translation>
    </message>
    <message>
        <source>Make a book larger than this many megabytes as parts no larger (&quot;Book (1 of 3).epub&quot;), each a whole book, parted between chapters where one lies within reach; 0 (the default) for no limit.</source>
        <translation>Crea un libro più grande di questi megabyte in parti non più grandi (&quot;Libro (1 di 3).epub&quot;), ciascuna un libro intero, divise tra i capitoli dove uno è a portata; 0 (il predefinito) per nessun limite.</translation>
    </message>
    <message>
        <source>What is made: cbz (the default), epub (a fixed-layout EPUB 3 for e-readers), kepub (the same, named for Kobo&apos;s reader), azw3 (a fixed-layout Kindle book, to copy to a Kindle by cable) or pdf (a page a picture, each page the picture&apos;s shape).</source>
        <translation>Cosa si crea: cbz (il predefinito), epub (un EPUB 3 a impaginazione fissa per lettori di e-book), kepub (lo stesso, con il nome che vuole il lettore Kobo), azw3 (un libro Kindle a impaginazione fissa, da copiare su un Kindle via cavo) o pdf (una pagina per immagine, ogni pagina della forma della sua immagine).</translation>
    </message>
    <message>
        <source>Write a PDF linearized (fast web view): its first page shows before the whole file has come over a network.</source>
        <translation>Scrive un PDF linearizzato (visualizzazione web veloce): la sua prima pagina si vede prima che l&apos;intero file sia arrivato da una rete.</translation>
    </message>
    <message>
        <source>--options-file: %1 cannot be read as a file of options</source>
        <translation>--options-file: %1 non si può leggere come file di opzioni</translation>
    </message>
    <message>
        <source>--options-file: %1: a line begins with an option (--name)</source>
        <translation>--options-file: %1: una riga comincia con un&apos;opzione (--nome)</translation>
    </message>
    <message>
        <source>Watch this folder and make each book that lands in it (a folder of pages, an archive, a PDF, an EPUB) once it has not changed for --settle seconds, one at a time; a book whose archive exists is left alone, one that failed is tried again when it changes. Runs until SIGTERM or SIGINT; SIGHUP reads --options-file again.</source>
        <translation>Sorveglia questa cartella e crea ogni libro che vi arriva (una cartella di pagine, un archivio, un PDF, un EPUB) quando non è cambiato da --settle secondi, uno alla volta; un libro il cui archivio esiste viene lasciato stare, uno che non è riuscito viene ritentato quando cambia. Gira fino a SIGTERM o SIGINT; SIGHUP rilegge --options-file.</translation>
    </message>
    <message>
        <source>folder</source>
        <translation>cartella</translation>
    </message>
    <message>
        <source>With --watch, the seconds a book must stay unchanged before it is made (default 30).</source>
        <translation>Con --watch, i secondi per cui un libro deve restare invariato prima di essere creato (predefinito 30).</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>secondi</translation>
    </message>
    <message>
        <source>With --watch, look at the folder again every this many seconds (default 60), for network shares and containers that send no change notices.</source>
        <translation>Con --watch, riguarda la cartella ogni tanti secondi (predefinito 60), per le condivisioni di rete e i container che non mandano avvisi di modifica.</translation>
    </message>
    <message>
        <source>json: a line of JSON a book on standard output (source, target, kind, state, pages, entries, bytes, seconds, notes, reason), nothing else; text (the default): the report on standard error only.</source>
        <translation>json: una riga di JSON per libro sullo standard output (source, target, kind, state, pages, entries, bytes, seconds, notes, reason), nient&apos;altro; text (il predefinito): il resoconto solo sullo standard error.</translation>
    </message>
    <message>
        <source>text|json</source>
        <translation>text|json</translation>
    </message>
    <message>
        <source>Read more options from this file, an option a line as on the command line (&quot;--preset Kobo Libra Colour&quot;), none when it does not exist; with --watch, read again on SIGHUP.</source>
        <translation>Legge altre opzioni da questo file, un&apos;opzione per riga come sulla riga di comando (&quot;--preset Kobo Libra Colour&quot;), nessuna se non esiste; con --watch, lo rilegge a SIGHUP.</translation>
    </message>
    <message>
        <source>--report: text or json</source>
        <translation>--report: text o json</translation>
    </message>
    <message>
        <source>--watch: give no folder beside it, nor --list or --check</source>
        <translation>--watch: non dare cartelle insieme, né --list o --check</translation>
    </message>
    <message>
        <source>--watch: %1 is not a folder</source>
        <translation>--watch: %1 non è una cartella</translation>
    </message>
</context>
<context>
    <name>CliListing</name>
    <message>
        <source>read right to left: the right half of a cut page comes first</source>
        <translation>lettura da destra a sinistra: la metà destra di una pagina divisa viene prima</translation>
    </message>
    <message>
        <source>read left to right: the left half of a cut page comes first</source>
        <translation>lettura da sinistra a destra: la metà sinistra di una pagina divisa viene prima</translation>
    </message>
    <message>
        <source>a blank page goes before it</source>
        <translation>una pagina bianca va prima di essa</translation>
    </message>
    <message>
        <source>in the EPUB: %1</source>
        <translation>nell&apos;EPUB: %1</translation>
    </message>
    <message>
        <source>cannot be read: %1</source>
        <translation>non si può leggere: %1</translation>
    </message>
    <message>
        <source>a long strip, cut into %2 pages %3 wide and %4 to %5 high (%6 to %7)</source>
        <translation>una striscia lunga, tagliata in %2 pagine larghe %3 e alte da %4 a %5 (da %6 a %7)</translation>
    </message>
    <message>
        <source>a long strip of %1 pages, cut into %2 pages %3 wide and %4 to %5 high (%6 to %7)</source>
        <translation>una striscia lunga di %1 pagine, tagliata in %2 pagine larghe %3 e alte da %4 a %5 (da %6 a %7)</translation>
    </message>
    <message>
        <source>in the long strip above</source>
        <translation>nella striscia lunga sopra</translation>
    </message>
    <message>
        <source>nothing</source>
        <translation>nulla</translation>
    </message>
    <message>
        <source>%1 grey</source>
        <translation>%1 in grigio</translation>
    </message>
    <message>
        <source>kept as it is</source>
        <translation>tenuta così com&apos;è</translation>
    </message>
    <message>
        <source>grey</source>
        <translation>grigia</translation>
    </message>
    <message>
        <source>turned %1°</source>
        <translation>ruotata di %1°</translation>
    </message>
    <message>
        <source>paper evened out</source>
        <translation>carta uniformata</translation>
    </message>
    <message>
        <source>border %1</source>
        <translation>bordo di %1</translation>
    </message>
    <message>
        <source>margins trimmed</source>
        <translation>margini rifilati</translation>
    </message>
    <message>
        <source>cut</source>
        <translation>divisa</translation>
    </message>
    <message>
        <source>cut on its blocks</source>
        <translation>tagliata sui suoi blocchi</translation>
    </message>
    <message>
        <source>encoded as usual: %1</source>
        <translation>codificata come di consueto: %1</translation>
    </message>
    <message>
        <source>in the PDF: %1</source>
        <translation>nel PDF: %1</translation>
    </message>
    <message>
        <source>%1 × %2 pt</source>
        <translation>%1 × %2 pt</translation>
    </message>
</context>
<context>
    <name>CliRunner</name>
    <message>
        <source>the folder cannot be read</source>
        <translation>la cartella non può essere letta</translation>
    </message>
    <message>
        <source>%1 exists already; --force replaces it</source>
        <translation>%1 esiste già; --force lo sostituisce</translation>
    </message>
    <message>
        <source>stopped; no archive was made</source>
        <translation>interrotto; nessun archivio creato</translation>
    </message>
    <message>
        <source>standard output cannot be written</source>
        <translation>impossibile scrivere sull&apos;output standard</translation>
    </message>
    <message>
        <source>the folder for the archives cannot be made</source>
        <translation>impossibile creare la cartella per gli archivi</translation>
    </message>
    <message>
        <source>%1 [%2%3] %4/%5 pages, %L6 pages/s, %7 left</source>
        <translation>%1 [%2%3] %4/%5 pagine, %L6 pagine/s, mancano %7</translation>
    </message>
    <message>
        <source>its name is not valid text in this system&apos;s encoding; rename it</source>
        <translation>il suo nome non è testo valido nella codifica di questo sistema; rinominarla</translation>
    </message>
    <message>
        <source>none of its page files can be used</source>
        <translation>nessuno dei suoi file di pagina può essere usato</translation>
    </message>
    <message>
        <source>%1 was made from %2 in this run already; give each folder its own archive</source>
        <translation>%1 è già stato creato da %2 in questa esecuzione; dare a ogni cartella il suo archivio</translation>
    </message>
    <message>
        <source>no image file found (%1)</source>
        <translation>nessuna immagine trovata (%1)</translation>
    </message>
    <message>
        <source>larger than any list of pages</source>
        <translation>più grande di qualsiasi elenco di pagine</translation>
    </message>
    <message>
        <source>not a folder, a comic archive or a PDF</source>
        <translation>non è una cartella, un archivio di fumetti né un PDF</translation>
    </message>
    <message>
        <source>it cannot be read: %1</source>
        <translation>non può essere letto: %1</translation>
    </message>
    <message>
        <source>no image file found, but %1 of its sub-folders hold pages; --chapters lists them as chapters</source>
        <translation>nessun file immagine trovato, ma %1 delle sue sottocartelle contengono pagine; --chapters le elenca come capitoli</translation>
    </message>
    <message>
        <source>not a regular file (a pipe, a device or a folder)</source>
        <translation>non è un file normale (una pipe, un dispositivo o una cartella)</translation>
    </message>
    <message>
        <source>--skip-unreadable makes it with the first frame of each animation</source>
        <translation>--skip-unreadable lo crea con il primo fotogramma di ogni animazione</translation>
    </message>
    <message>
        <source>%1; --every-type lists them, --leave-out-other-types makes the archive without them</source>
        <translation>%1; --every-type le elenca, --leave-out-other-types crea l&apos;archivio senza di esse</translation>
    </message>
    <message>
        <source>book %1 of %2: %3</source>
        <translation>libro %1 di %2: %3</translation>
    </message>
    <message>
        <source>%1 of %2 books made (%3 pages), %4 failed, %5 made with files left out; %6</source>
        <translation>%1 di %2 libri creati (%3 pagine), %4 non riusciti, %5 creati con file esclusi; %6</translation>
    </message>
    <message>
        <source>%1 of %2 books made (%3 pages), %4 skipped as their archives exist, %5 failed, %6 made with files left out; %7</source>
        <translation>%1 di %2 volumi creati (%3 pagine), %4 saltati perché i loro archivi esistono, %5 non riusciti, %6 creati con file tralasciati; %7</translation>
    </message>
    <message>
        <source>skipped: %1 exists already</source>
        <translation>saltato: %1 esiste già</translation>
    </message>
    <message>
        <source>%1: %2, in %L3 s</source>
        <translation>%1: %2, in %L3 s</translation>
    </message>
    <message>
        <source>%1; --skip-unreadable makes it without them</source>
        <translation>%1; --skip-unreadable lo crea senza di esse</translation>
    </message>
    <message>
        <source>clean</source>
        <translation>pulito</translation>
    </message>
    <message>
        <source>no clean copy can be made of it</source>
        <translation>non se ne può fare una copia pulita</translation>
    </message>
    <message>
        <source>clean copy made: %1 (%2)</source>
        <translation>copia pulita creata: %1 (%2)</translation>
    </message>
    <message>
        <source>read right to left: the right half of each cut page came first (--first-page left, or a book that says Manga No, puts the left half first)</source>
        <translation>letto da destra a sinistra: la metà destra di ogni pagina tagliata è venuta prima (--first-page left, o un libro che dice Manga No, mette prima la metà sinistra)</translation>
    </message>
    <message>
        <source>read left to right: the left half of each cut page came first (--first-page right, or a book that says Manga YesAndRightToLeft, puts the right half first)</source>
        <translation>letto da sinistra a destra: la metà sinistra di ogni pagina tagliata è venuta prima (--first-page right, o un libro che dice Manga YesAndRightToLeft, mette prima la metà destra)</translation>
    </message>
    <message>
        <source>the options cannot be read again, the watch goes on with those it had: %1</source>
        <translation>le opzioni non si possono rileggere, la sorveglianza continua con quelle che aveva: %1</translation>
    </message>
    <message>
        <source>options read again</source>
        <translation>opzioni rilette</translation>
    </message>
</context>
<context>
    <name>ComicInfo</name>
    <message>
        <source>it cannot be read: %1</source>
        <translation>non può essere letto: %1</translation>
    </message>
    <message>
        <source>it is not a ComicInfo document (its root is %1)</source>
        <translation>non è un documento ComicInfo (la sua radice è %1)</translation>
    </message>
    <message>
        <source>%1, which ComicInfo does not know</source>
        <translation>%1, che ComicInfo non conosce</translation>
    </message>
    <message>
        <source>a second %1</source>
        <translation>un secondo %1</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot;, which is not a value it may hold</source>
        <translation>%1 &quot;%2&quot;, che non è un valore ammesso</translation>
    </message>
</context>
<context>
    <name>ComicInfoDialog</name>
    <message>
        <source>Comic Information</source>
        <translation>Informazioni sul fumetto</translation>
    </message>
    <message>
        <source>Write comic information into the archive</source>
        <translation>Scrivi le informazioni sul fumetto nell&apos;archivio</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titolo:</translation>
    </message>
    <message>
        <source>Series:</source>
        <translation>Serie:</translation>
    </message>
    <message>
        <source>Number:</source>
        <translation>Numero:</translation>
    </message>
    <message>
        <source>Volume:</source>
        <translation>Volume:</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Anno:</translation>
    </message>
    <message>
        <source>Writer:</source>
        <translation>Sceneggiatore:</translation>
    </message>
    <message>
        <source>Artist (Penciller):</source>
        <translation>Disegnatore:</translation>
    </message>
    <message>
        <source>Publisher:</source>
        <translation>Editore:</translation>
    </message>
    <message>
        <source>Language (ISO code):</source>
        <translation>Lingua (codice ISO):</translation>
    </message>
    <message>
        <source>en, it, ja…</source>
        <translation>it, en, ja…</translation>
    </message>
    <message>
        <source>Summary:</source>
        <translation>Riassunto:</translation>
    </message>
    <message>
        <source>Reading direction:</source>
        <translation>Senso di lettura:</translation>
    </message>
    <message>
        <source>Left to right</source>
        <translation>Da sinistra a destra</translation>
    </message>
    <message>
        <source>Right to left</source>
        <translation>Da destra a sinistra</translation>
    </message>
    <message>
        <source>Not said</source>
        <translation>Non indicata</translation>
    </message>
</context>
<context>
    <name>Donations</name>
    <message>
        <source>Donations</source>
        <translation>Donazioni</translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thank you for your interest in Ostrelind products. I developed these products in my free time and I hope it may be useful to other. If you need help, want report bugs or submit requests for new features you can use the support forum. I will try to reply as soon as I can. If you like my products and you think that my work has been useful for you, please, consider the possibility of a donation.</source>
        <translation>Grazie per il tuo interesse nei prodotti Ostrelind. Ho sviluppato questo software nel tempo libero e spero che possa essere utile anche agli altri. Se hai bisogno di aiuto, segnalare errori o richiedere nuove funzionalità puoi usare il forum di supporto. Provero a rispondere prima possibile. Se ti piace questo prodotto e pensi che il mio lavoro ti sia stato utile potresti considerare la possibilità di una donazione.</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;https://quirevale.example.org/donate&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#0000ff;&quot;&gt;Read here why is important to make a donation&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;a href=&quot;https://quirevale.example.org/donate&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#0000ff;&quot;&gt;Leggi qui perche è importante effettuare donazioni&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>EpubPackage</name>
    <message>
        <source>Its language &quot;%1&quot; is no language tag (such as en or pt-BR): the EPUB says its language is undetermined (und).</source>
        <translation>La sua lingua &quot;%1&quot; non è un codice di lingua (come en o pt-BR): l&apos;EPUB dice che la sua lingua è indeterminata (und).</translation>
    </message>
</context>
<context>
    <name>EpubPages</name>
    <message>
        <source>It has no %1, which names its package.</source>
        <translation>Non ha %1, che indica il suo pacchetto.</translation>
    </message>
    <message>
        <source>It is an EPUB of text, not of pictures (%1 pages of text, %2 of pictures): there is no comic in it to make a book of.</source>
        <translation>È un EPUB di testo, non di immagini (%1 pagine di testo, %2 di immagini): non contiene un fumetto da cui fare un libro.</translation>
    </message>
    <message>
        <source>Its %1 cannot be read: %2</source>
        <translation>Il suo %1 non si può leggere: %2</translation>
    </message>
    <message>
        <source>Its %1 names no package.</source>
        <translation>Il suo %1 non indica alcun pacchetto.</translation>
    </message>
    <message>
        <source>Its package %1 cannot be read: %2</source>
        <translation>Il suo pacchetto %1 non si può leggere: %2</translation>
    </message>
    <message>
        <source>Its package lists no page to read.</source>
        <translation>Il suo pacchetto non elenca pagine da leggere.</translation>
    </message>
    <message>
        <source>a drawing (SVG), not a picture</source>
        <translation>un disegno (SVG), non un’immagine</translation>
    </message>
    <message>
        <source>a page of text, not a picture</source>
        <translation>una pagina di testo, non un’immagine</translation>
    </message>
    <message>
        <source>a page with no picture</source>
        <translation>una pagina senza immagine</translation>
    </message>
    <message>
        <source>an EPUB</source>
        <translation>un EPUB</translation>
    </message>
    <message>
        <source>encrypted</source>
        <translation>cifrata</translation>
    </message>
    <message>
        <source>it cannot be read: %1</source>
        <translation>non si può leggere: %1</translation>
    </message>
    <message>
        <source>it declares entities of its own, which no page needs</source>
        <translation>dichiara entità proprie, che a nessuna pagina servono</translation>
    </message>
    <message>
        <source>it holds more than %1 elements and texts</source>
        <translation>contiene più di %1 elementi e testi</translation>
    </message>
    <message>
        <source>it is not in the book</source>
        <translation>non è nel libro</translation>
    </message>
    <message>
        <source>it names %1, a path outside the book</source>
        <translation>indica %1, un percorso fuori dal libro</translation>
    </message>
    <message>
        <source>it names %1, outside the book, which is never fetched</source>
        <translation>indica %1, fuori dal libro, che non viene mai scaricato</translation>
    </message>
    <message>
        <source>it names %1, which leaves the book</source>
        <translation>indica %1, che esce dal libro</translation>
    </message>
    <message>
        <source>it names nothing</source>
        <translation>non indica nulla</translation>
    </message>
    <message>
        <source>its page is not in the package&apos;s list</source>
        <translation>la sua pagina non è nell’elenco del pacchetto</translation>
    </message>
    <message>
        <source>not a picture this program reads</source>
        <translation>non è un’immagine che questo programma legge</translation>
    </message>
</context>
<context>
    <name>ImageManager</name>
    <message>
        <source>2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>JpegCheck</name>
    <message>
        <source>It holds %1 scans, more than any encoder writes.</source>
        <translation>Contiene %1 scansioni, più di quante ne scriva qualsiasi codificatore.</translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation>Interrotto.</translation>
    </message>
</context>
<context>
    <name>JpegPartWriter</name>
    <message>
        <source>its blocks&apos; values are beyond what a part of it could code</source>
        <translation>i valori dei suoi blocchi vanno oltre ciò che una sua parte potrebbe codificare</translation>
    </message>
</context>
<context>
    <name>LongStrip</name>
    <message>
        <source>cut through its art, no plain band between panels being in reach, at %1</source>
        <translation>tagliata nel disegno, senza una fascia uniforme tra le vignette a portata: %1</translation>
    </message>
    <message>
        <source>row %1</source>
        <translation>riga %1</translation>
    </message>
    <message>
        <source>it holds more than one picture: leave it uncut</source>
        <translation>contiene più di un&apos;immagine: lasciala intera</translation>
    </message>
</context>
<context>
    <name>LosslessCut</name>
    <message>
        <source>nothing would be left of it</source>
        <translation>non ne resterebbe nulla</translation>
    </message>
    <message>
        <source>it is not a JPEG</source>
        <translation>non è un JPEG</translation>
    </message>
    <message>
        <source>it is a CMYK JPEG</source>
        <translation>è un JPEG CMYK</translation>
    </message>
    <message>
        <source>it is resized</source>
        <translation>viene ridimensionata</translation>
    </message>
    <message>
        <source>its plain margins are trimmed</source>
        <translation>i suoi margini uniformi vengono rifilati</translation>
    </message>
    <message>
        <source>whether it is grey is found by its pixels</source>
        <translation>se sia grigia lo dicono i suoi pixel</translation>
    </message>
    <message>
        <source>it is turned, and its size (%1 × %2) is not a whole number of its %3 × %4 blocks</source>
        <translation>viene ruotata, e la sua dimensione (%1 × %2) non è un numero intero dei suoi blocchi di %3 × %4</translation>
    </message>
    <message>
        <source>its colours are sampled in %1 × %2 blocks, a layout it cannot be cut in</source>
        <translation>i suoi colori sono campionati in blocchi di %1 × %2, una disposizione in cui non può essere tagliata</translation>
    </message>
    <message>
        <source>its colours are stored as red, green and blue, none of which is its brightness</source>
        <translation>i suoi colori sono memorizzati come rosso, verde e blu, nessuno dei quali è la sua luminosità</translation>
    </message>
    <message>
        <source>it is larger than any page</source>
        <translation>è più grande di qualsiasi pagina</translation>
    </message>
</context>
<context>
    <name>Packager</name>
    <message>
        <source>CBZ</source>
        <translation>CBZ</translation>
    </message>
    <message>
        <source>EPUB</source>
        <translation>EPUB</translation>
    </message>
    <message>
        <source>Kobo EPUB</source>
        <translation>EPUB Kobo</translation>
    </message>
    <message>
        <source>Kindle (AZW3)</source>
        <translation>Kindle (AZW3)</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
</context>
<context>
    <name>PackedEntry</name>
    <message>
        <source>There is not enough memory for the compressor.</source>
        <translation>Non c&apos;è abbastanza memoria per il compressore.</translation>
    </message>
    <message>
        <source>The compressor gave no data.</source>
        <translation>Il compressore non ha prodotto dati.</translation>
    </message>
</context>
<context>
    <name>PageArchive</name>
    <message>
        <source>It is not a regular file.</source>
        <translation>Non è un file normale.</translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation>Interrotto.</translation>
    </message>
    <message>
        <source>Entry %1 cannot be read: %2</source>
        <translation>La voce %1 non può essere letta: %2</translation>
    </message>
    <message>
        <source>Entry %1 holds more than %2 MB.</source>
        <translation>La voce %1 contiene più di %2 MB.</translation>
    </message>
    <message>
        <source>It holds more than %1 entries; no book has so many.</source>
        <translation>Contiene più di %1 voci; nessun volume ne ha tante.</translation>
    </message>
    <message>
        <source>Entry %1 is encrypted.</source>
        <translation>La voce %1 è cifrata.</translation>
    </message>
    <message>
        <source>its data is damaged or cut short</source>
        <translation>i suoi dati sono danneggiati o troncati</translation>
    </message>
    <message>
        <source>%1 is encrypted</source>
        <translation>%1 è cifrato</translation>
    </message>
    <message>
        <source>%1 holds more than %2 MB</source>
        <translation>%1 contiene più di %2 MB</translation>
    </message>
    <message>
        <source>a hard link to %1, which is not a page of the archive</source>
        <translation>un collegamento fisico a %1, che non è una pagina dell&apos;archivio</translation>
    </message>
    <message>
        <source>a symbolic link</source>
        <translation>un collegamento simbolico</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>non è un file normale</translation>
    </message>
    <message>
        <source>encrypted</source>
        <translation>cifrato</translation>
    </message>
    <message>
        <source>more than %1 MB</source>
        <translation>più di %1 MB</translation>
    </message>
    <message>
        <source>It is cut short: the index of its entries is missing, so entries after the last one found may be missing too.</source>
        <translation>È troncato: manca l&apos;indice delle sue voci, quindi possono mancare anche voci dopo l&apos;ultima trovata.</translation>
    </message>
    <message>
        <source>Entry %1 is damaged: its bytes do not match its CRC.</source>
        <translation>La voce %1 è danneggiata: i suoi byte non corrispondono al suo CRC.</translation>
    </message>
    <message>
        <source>The archive has changed since it was listed: it has no entry %1 any more. Open it again.</source>
        <translation>L&apos;archivio è cambiato da quando è stato elencato: non ha più la voce %1. Aprilo di nuovo.</translation>
    </message>
    <message>
        <source>The archive has changed since it was listed: its entry %1 is %2, not %3. Open it again.</source>
        <translation>L&apos;archivio è cambiato da quando è stato elencato: la sua voce %1 è %2, non %3. Aprilo di nuovo.</translation>
    </message>
    <message>
        <source>a ZIP archive</source>
        <translation>un archivio ZIP</translation>
    </message>
    <message>
        <source>a RAR archive</source>
        <translation>un archivio RAR</translation>
    </message>
    <message>
        <source>a 7z archive</source>
        <translation>un archivio 7z</translation>
    </message>
    <message>
        <source>a tar archive</source>
        <translation>un archivio tar</translation>
    </message>
    <message>
        <source>It is cut short: the end of the archive is missing, so entries after the last one found may be missing too.</source>
        <translation>È troncato: manca la fine dell&apos;archivio, quindi anche le voci dopo l&apos;ultima trovata potrebbero mancare.</translation>
    </message>
    <message>
        <source>%1 is past the %2 MB its documents may take together</source>
        <translation>%1 supera i %2 MB che i suoi documenti possono occupare in tutto</translation>
    </message>
</context>
<context>
    <name>PageForecast</name>
    <message>
        <source>cannot be read: %1</source>
        <translation>non può essere letta: %1</translation>
    </message>
    <message>
        <source>blank, left out</source>
        <translation>bianca, lasciata fuori</translation>
    </message>
</context>
<context>
    <name>PageList</name>
    <message>
        <source>Border of this page</source>
        <translation>Bordo di questa pagina</translation>
    </message>
    <message>
        <source>Turn Right</source>
        <translation>Ruota a destra</translation>
    </message>
    <message>
        <source>Turn Left</source>
        <translation>Ruota a sinistra</translation>
    </message>
    <message>
        <source>Cut as the Book</source>
        <translation>Dividi come il volume</translation>
    </message>
    <message>
        <source>Always Cut</source>
        <translation>Dividi sempre</translation>
    </message>
    <message>
        <source>Never Cut</source>
        <translation>Non dividere mai</translation>
    </message>
    <message>
        <source>Border as the Book</source>
        <translation>Bordo come il volume</translation>
    </message>
    <message>
        <source>No Border</source>
        <translation>Nessun bordo</translation>
    </message>
    <message>
        <source>Own Border…</source>
        <translation>Bordo proprio…</translation>
    </message>
    <message>
        <source>Reset Page</source>
        <translation>Ripristina pagina</translation>
    </message>
    <message>
        <source>Pixels to cut: one number for every side, or four for the left, top, right and bottom (%1 to %2):</source>
        <translation>Pixel da tagliare: un numero per tutti i lati, o quattro per sinistra, alto, destra e basso (da %1 a %2):</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a border.</source>
        <translation>&quot;%1&quot; non è un bordo.</translation>
    </message>
    <message>
        <source>blank</source>
        <translation>bianca</translation>
    </message>
    <message>
        <source>Blank: left out while blank pages are left out. Check it to keep it.</source>
        <translation>Bianca: lasciata fuori finché le pagine bianche vengono lasciate fuori. Selezionala per tenerla.</translation>
    </message>
    <message>
        <source>blank, kept</source>
        <translation>bianca, tenuta</translation>
    </message>
    <message>
        <source>Slant of this page</source>
        <translation>Inclinazione di questa pagina</translation>
    </message>
    <message>
        <source>Degrees the page is turned clockwise (-5 to 5); it is turned back by as much:</source>
        <translation>Gradi di cui la pagina è ruotata in senso orario (da -5 a 5); viene ruotata indietro di altrettanto:</translation>
    </message>
    <message>
        <source>Straighten as the Book</source>
        <translation>Raddrizza come il volume</translation>
    </message>
    <message>
        <source>Straighten</source>
        <translation>Raddrizza</translation>
    </message>
    <message>
        <source>Leave Its Slant</source>
        <translation>Lascia la sua inclinazione</translation>
    </message>
    <message>
        <source>Own Slant…</source>
        <translation>Inclinazione propria…</translation>
    </message>
    <message>
        <source>Paper as Scanned</source>
        <translation>Carta come scansionata</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Annulla %1</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Ripeti %1</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Ripeti</translation>
    </message>
    <message>
        <source>Move Pages</source>
        <translation>Sposta le pagine</translation>
    </message>
    <message>
        <source>Uncheck Page</source>
        <translation>Togli la spunta alla pagina</translation>
    </message>
    <message>
        <source>Check Page</source>
        <translation>Spunta la pagina</translation>
    </message>
    <message>
        <source>Move Page</source>
        <translation>Sposta la pagina</translation>
    </message>
</context>
<context>
    <name>PageListing</name>
    <message>
        <source>permission denied</source>
        <translation>permesso negato</translation>
    </message>
    <message>
        <source>a symbolic link to a folder, which is not followed</source>
        <translation>un collegamento simbolico a una cartella, che non viene seguito</translation>
    </message>
    <message>
        <source>more than %1 folders down</source>
        <translation>più di %1 cartelle sotto</translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation>Fermato.</translation>
    </message>
</context>
<context>
    <name>PageMaker</name>
    <message>
        <source>left out: it cannot be read: %1</source>
        <translation>tralasciata: non si può leggere: %1</translation>
    </message>
    <message>
        <source>Page %1 cannot be read: %2</source>
        <translation>La pagina %1 non può essere letta: %2</translation>
    </message>
    <message>
        <source>left out: it is blank</source>
        <translation>lasciata fuori: è bianca</translation>
    </message>
    <message>
        <source>Page %1 is an animation of %2 frames; only its first can be a page.</source>
        <translation>La pagina %1 è un&apos;animazione di %2 fotogrammi; solo il primo può essere una pagina.</translation>
    </message>
    <message>
        <source>encoded as usual, not cut on its blocks: %1</source>
        <translation>codificata come di consueto, non tagliata sui suoi blocchi: %1</translation>
    </message>
    <message>
        <source>only the first of its %1 frames is used</source>
        <translation>viene usato solo il primo dei suoi %1 fotogrammi</translation>
    </message>
    <message>
        <source>kept as an animation of %1 frames</source>
        <translation>mantenuta come animazione di %1 fotogrammi</translation>
    </message>
    <message>
        <source>Page %1 cannot be compressed: %2</source>
        <translation>La pagina %1 non può essere compressa: %2</translation>
    </message>
    <message>
        <source>Page %1 cannot be encoded as %2: %3</source>
        <translation>La pagina %1 non può essere codificata in %2: %3</translation>
    </message>
    <message>
        <source>A border of %1 leaves nothing of page %2 (%3 × %4).</source>
        <translation>Un bordo di %1 non lascia nulla della pagina %2 (%3 × %4).</translation>
    </message>
    <message>
        <source>Fitted within %1 × %2, nothing is left of page %3 (%4 × %5).</source>
        <translation>Adattata entro %1 × %2, non resta nulla della pagina %3 (%4 × %5).</translation>
    </message>
    <message>
        <source>Cut in two, nothing is left of one half of page %1 (%2 × %3).</source>
        <translation>Divisa in due, non resta nulla di una metà della pagina %1 (%2 × %3).</translation>
    </message>
    <message>
        <source>fitted to %1 × %2, less than half the screen&apos;s width: a long strip&apos;s tile is cut to the screen&apos;s height when long strips are</source>
        <translation>adattata a %1 × %2, meno di metà della larghezza dello schermo: una tessera di una striscia lunga viene tagliata all&apos;altezza dello schermo quando lo sono le strisce lunghe</translation>
    </message>
</context>
<context>
    <name>PageReader</name>
    <message>
        <source>The file is not a picture in a format this program reads.</source>
        <translation>Il file non è un&apos;immagine in un formato che questo programma legge.</translation>
    </message>
    <message>
        <source>Picture %1 of the file cannot be found.</source>
        <translation>L&apos;immagine %1 del file non si trova.</translation>
    </message>
    <message>
        <source>The file is damaged: it is cut short.</source>
        <translation>Il file è danneggiato: è troncato.</translation>
    </message>
    <message>
        <source>The page is %1 × %2 pixels, larger than any page needs (at most %3 million pixels).</source>
        <translation>La pagina è di %1 × %2 pixel, più grande di quanto serva a qualsiasi pagina (al massimo %3 milioni di pixel).</translation>
    </message>
    <message>
        <source>The file is damaged: %1</source>
        <translation>Il file è danneggiato: %1</translation>
    </message>
    <message>
        <source>It is not a regular file (a pipe, a device or a folder).</source>
        <translation>Non è un file normale (una pipe, un dispositivo o una cartella).</translation>
    </message>
    <message>
        <source>The file is %1 MB, larger than any page.</source>
        <translation>Il file è di %1 MB, più grande di qualsiasi pagina.</translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation>Interrotto.</translation>
    </message>
    <message>
        <source>The file is larger than any page.</source>
        <translation>Il file è più grande di qualsiasi pagina.</translation>
    </message>
    <message>
        <source>The file was not opened.</source>
        <translation>Il file non è stato aperto.</translation>
    </message>
    <message>
        <source>The file is damaged: its structure is broken.</source>
        <translation>Il file è danneggiato: la sua struttura è rotta.</translation>
    </message>
    <message>
        <source>The page uses a kind of JPEG this program cannot read: %1</source>
        <translation>La pagina usa un tipo di JPEG che questo programma non sa leggere: %1</translation>
    </message>
    <message>
        <source>Its header or its data is not what a picture of its kind holds.</source>
        <translation>La sua intestazione o i suoi dati non sono quelli di un&apos;immagine del suo tipo.</translation>
    </message>
    <message>
        <source>It is a vector or PostScript picture (%1), which is never taken as a page: it may draw other files or run a program.</source>
        <translation>È un&apos;immagine vettoriale o PostScript (%1), che non viene mai presa come pagina: potrebbe disegnare altri file o eseguire un programma.</translation>
    </message>
    <message>
        <source>There is not enough memory to decode it.</source>
        <translation>Non c&apos;è abbastanza memoria per decodificarla.</translation>
    </message>
</context>
<context>
    <name>PageRecipe</name>
    <message>
        <source>it is straightened</source>
        <translation>viene raddrizzata</translation>
    </message>
    <message>
        <source>its paper is evened out</source>
        <translation>la sua carta viene uniformata</translation>
    </message>
    <message>
        <source>its colours are toned</source>
        <translation>i suoi colori sono regolati</translation>
    </message>
</context>
<context>
    <name>PageRow</name>
    <message>
        <source>%1
%2 × %3 pixels</source>
        <translation>%1
%2 × %3 pixel</translation>
    </message>
    <message>
        <source>Its own: %1</source>
        <translation>Proprie: %1</translation>
    </message>
</context>
<context>
    <name>PageTransform</name>
    <message>
        <source>There is no picture to encode.</source>
        <translation>Non c&apos;è alcuna immagine da codificare.</translation>
    </message>
    <message>
        <source>it is %1 × %2 pixels, and WebP takes at most %3 a side</source>
        <translation>è di %1 × %2 pixel, e WebP accetta al massimo %3 per lato</translation>
    </message>
    <message>
        <source>libwebp cannot encode it (error %1)</source>
        <translation>libwebp non riesce a codificarla (errore %1)</translation>
    </message>
</context>
<context>
    <name>PageTreatment</name>
    <message>
        <source>turned %1°</source>
        <translation>ruotata di %1°</translation>
    </message>
    <message>
        <source>always cut</source>
        <translation>sempre divisa</translation>
    </message>
    <message>
        <source>never cut</source>
        <translation>mai divisa</translation>
    </message>
    <message>
        <source>no border</source>
        <translation>nessun bordo</translation>
    </message>
    <message>
        <source>border %1</source>
        <translation>bordo di %1</translation>
    </message>
    <message>
        <source>%1 px</source>
        <translation>%1 px</translation>
    </message>
    <message>
        <source>%1, %2, %3, %4 px</source>
        <translation>%1, %2, %3, %4 px</translation>
    </message>
    <message>
        <source>straightened</source>
        <translation>raddrizzata</translation>
    </message>
    <message>
        <source>not straightened</source>
        <translation>non raddrizzata</translation>
    </message>
    <message>
        <source>straightened by %1°</source>
        <translation>raddrizzata di %1°</translation>
    </message>
    <message>
        <source>paper as scanned</source>
        <translation>carta come scansionata</translation>
    </message>
    <message>
        <source>kept though blank</source>
        <translation>tenuta anche se bianca</translation>
    </message>
</context>
<context>
    <name>PageTreatmentFile</name>
    <message>
        <source>line %1: %2</source>
        <translation>riga %1: %2</translation>
    </message>
    <message>
        <source>a page&apos;s file name, a tab, then its words</source>
        <translation>il nome del file di una pagina, una tabulazione, poi le sue parole</translation>
    </message>
    <message>
        <source>there is no page %1</source>
        <translation>non c&apos;è alcuna pagina %1</translation>
    </message>
    <message>
        <source>rotate takes 90, 180 or 270</source>
        <translation>rotate vuole 90, 180 o 270</translation>
    </message>
    <message>
        <source>unknown word &apos;%1&apos;</source>
        <translation>parola sconosciuta &apos;%1&apos;</translation>
    </message>
    <message>
        <source>border takes one number of pixels from %1 to %2, or four (left, top, right, bottom)</source>
        <translation>border vuole un numero di pixel da %1 a %2, o quattro (sinistra, alto, destra, basso)</translation>
    </message>
    <message>
        <source>straighten takes a slant from -5 to 5 degrees</source>
        <translation>straighten vuole un&apos;inclinazione da -5 a 5 gradi</translation>
    </message>
</context>
<context>
    <name>PartialFile</name>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The book cannot be created in %1: %2</source>
        <translation>Impossibile creare il libro in %1: %2</translation>
    </message>
    <message>
        <source>The name %1 is too long for its folder&apos;s file system (%2 bytes; at most %3).</source>
        <translation>Il nome %1 è troppo lungo per il file system della sua cartella (%2 byte; al massimo %3).</translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>La cartella %1 non esiste.</translation>
    </message>
    <message>
        <source>The book was not started.</source>
        <translation>Il libro non è stato iniziato.</translation>
    </message>
    <message>
        <source>The book cannot be finished</source>
        <translation>Impossibile completare il libro</translation>
    </message>
    <message>
        <source>The book cannot be saved to the disk: %1</source>
        <translation>Impossibile salvare il libro sul disco: %1</translation>
    </message>
    <message>
        <source>%1 appeared while the book was made; it is left as it is.</source>
        <translation>%1 è comparso mentre il libro veniva creato; viene lasciato com&apos;è.</translation>
    </message>
    <message>
        <source>The book cannot be renamed to %1: %2</source>
        <translation>Impossibile rinominare il libro in %1: %2</translation>
    </message>
</context>
<context>
    <name>PartsPackager</name>
    <message>
        <source>%1 (%2 of %3)</source>
        <translation>%1 (%2 di %3)</translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>La cartella %1 non esiste.</translation>
    </message>
    <message>
        <source>The book was not started.</source>
        <translation>Il libro non è stato iniziato.</translation>
    </message>
    <message>
        <source>A page cannot be held until the parts are made: %1</source>
        <translation>Impossibile conservare una pagina finché le parti non sono create: %1</translation>
    </message>
    <message>
        <source>A page cannot be read back for its part: %1</source>
        <translation>Impossibile rileggere una pagina per la sua parte: %1</translation>
    </message>
    <message>
        <source>%1 (%2 MB)</source>
        <translation>%1 (%2 MB)</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MB: its pages could not be parted smaller.</source>
        <translation>%1 è più grande di %2 MB: le sue pagine non potevano essere divise in parti più piccole.</translation>
    </message>
    <message>
        <source>Made as %1 parts of at most %2 MB: %3.</source>
        <translation>Creato in %1 parti di al massimo %2 MB: %3.</translation>
    </message>
    <message>
        <source>%1 exists already.</source>
        <translation>%1 esiste già.</translation>
    </message>
</context>
<context>
    <name>PdfPackager</name>
    <message>
        <source>Page %1 is not a JPEG picture a PDF can hold.</source>
        <translation>La pagina %1 non è un&apos;immagine JPEG che un PDF possa contenere.</translation>
    </message>
    <message>
        <source>Page %1 cannot be read: %2</source>
        <translation>La pagina %1 non può essere letta: %2</translation>
    </message>
    <message>
        <source>Page %1 is neither JPEG nor PNG: a PDF of this program holds only those.</source>
        <translation>La pagina %1 non è né JPEG né PNG: un PDF di questo programma contiene solo quelle.</translation>
    </message>
    <message>
        <source>Page %1 cannot be written: %2</source>
        <translation>Impossibile scrivere la pagina %1: %2</translation>
    </message>
    <message>
        <source>A PDF carries its information in its own document information and metadata, not as %1.</source>
        <translation>Un PDF porta le sue informazioni nelle proprie informazioni del documento e nei metadati, non come %1.</translation>
    </message>
    <message>
        <source>The book cannot be written</source>
        <translation>Impossibile scrivere il libro</translation>
    </message>
    <message>
        <source>The finished book does not read back as it was written.</source>
        <translation>Il libro finito non si rilegge come è stato scritto.</translation>
    </message>
</context>
<context>
    <name>PdfPages</name>
    <message>
        <source>It is not a regular file.</source>
        <translation>Non è un file normale.</translation>
    </message>
    <message>
        <source>It is not a PDF this program can read.</source>
        <translation>Non è un PDF che questo programma sa leggere.</translation>
    </message>
    <message>
        <source>It is protected by a password.</source>
        <translation>È protetto da una password.</translation>
    </message>
    <message>
        <source>The PDF has no page %1.</source>
        <translation>Il PDF non ha una pagina %1.</translation>
    </message>
    <message>
        <source>Page %1 is %2 × %3 points: at %4 dpi, larger than any page.</source>
        <translation>La pagina %1 misura %2 × %3 punti: a %4 dpi, più grande di qualsiasi pagina.</translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation>Interrotto.</translation>
    </message>
    <message>
        <source>Page %1 cannot be rendered.</source>
        <translation>La pagina %1 non può essere resa.</translation>
    </message>
    <message>
        <source>Page %1 cannot be found in the PDF: its page tree is damaged.</source>
        <translation>La pagina %1 non si trova nel PDF: il suo albero delle pagine è danneggiato.</translation>
    </message>
    <message>
        <source>Page %1 claims %2 × %3 points: at %4 dpi, not the size of any page.</source>
        <translation>La pagina %1 dichiara %2 × %3 punti: a %4 dpi, non è la dimensione di nessuna pagina.</translation>
    </message>
    <message>
        <source>It holds no pages.</source>
        <translation>Non contiene pagine.</translation>
    </message>
    <message>
        <source>It claims %1 pages, more than its %2 bytes can hold.</source>
        <translation>Dichiara %1 pagine, più di quante ne possano contenere i suoi %2 byte.</translation>
    </message>
    <message>
        <source>Page %1 cannot be found in it: its page tree is damaged.</source>
        <translation>La pagina %1 non si trova: il suo albero delle pagine è danneggiato.</translation>
    </message>
    <message>
        <source>a PDF</source>
        <translation>un PDF</translation>
    </message>
</context>
<context>
    <name>PdfPicture</name>
    <message>
        <source>The picture&apos;s data does not match its size.</source>
        <translation>I dati dell&apos;immagine non corrispondono alle sue dimensioni.</translation>
    </message>
    <message>
        <source>Its picture cannot be decoded.</source>
        <translation>La sua immagine non si può decodificare.</translation>
    </message>
    <message>
        <source>Its drawing saves its state more than %1 times over: no page is drawn so, and it is not rendered.</source>
        <translation>Il suo disegno salva il proprio stato più di %1 volte: nessuna pagina è disegnata così, e non viene resa.</translation>
    </message>
</context>
<context>
    <name>PresetMenu</name>
    <message>
        <source>Save Options as Preset</source>
        <translation>Salva opzioni come preset</translation>
    </message>
    <message>
        <source>Name of the preset:</source>
        <translation>Nome del preset:</translation>
    </message>
    <message>
        <source>Replace your preset &quot;%1&quot;?</source>
        <translation>Sostituire il tuo preset &quot;%1&quot;?</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be the name of a preset of yours: it is a preset&apos;s of this program, or it holds a slash.</source>
        <translation>&quot;%1&quot; non può essere il nome di un tuo preset: è quello di un preset del programma, oppure contiene una barra.</translation>
    </message>
    <message>
        <source>Delete Preset</source>
        <translation>Elimina preset</translation>
    </message>
    <message>
        <source>Preset to delete:</source>
        <translation>Preset da eliminare:</translation>
    </message>
    <message>
        <source>More Presets… (%1)</source>
        <translation>Altri preset… (%1)</translation>
    </message>
</context>
<context>
    <name>PresetPicker</name>
    <message>
        <source>Your Presets</source>
        <translation>I tuoi preset</translation>
    </message>
    <message>
        <source>Search your presets</source>
        <translation>Cerca tra i tuoi preset</translation>
    </message>
    <message>
        <source>The first %1 of %2; type to find the others.</source>
        <translation>I primi %1 di %2; scrivi per trovare gli altri.</translation>
    </message>
    <message>
        <source>1 preset</source>
        <translation>1 preset</translation>
    </message>
    <message>
        <source>%1 presets</source>
        <translation>%1 preset</translation>
    </message>
</context>
<context>
    <name>QCoreApplication</name>
    <message>
        <source>No file manager answered. The archive is in %1.</source>
        <translation>Nessun gestore di file ha risposto. L&apos;archivio si trova in %1.</translation>
    </message>
    <message>
        <source>Some pages have a turn, a cut or a border of their own. Forget them and list the other folder?</source>
        <translation>Alcune pagine hanno una rotazione, una divisione o un bordo propri. Dimenticarli ed elencare l&apos;altra cartella?</translation>
    </message>
</context>
<context>
    <name>QueueDock</name>
    <message>
        <source>Add This Book</source>
        <translation>Aggiungi questo libro</translation>
    </message>
    <message>
        <source>Add the book on show, with its pages as the list has them: checked, in order, each with its own treatment</source>
        <translation>Aggiunge il libro mostrato, con le pagine come le ha l’elenco: spuntate, in ordine, ognuna con il suo trattamento</translation>
    </message>
    <message>
        <source>Archives:</source>
        <translation>Archivi:</translation>
    </message>
    <message>
        <source>Are the items dropped the chapters of one book, or books of their own to be made one after another?</source>
        <translation>Gli elementi rilasciati sono i capitoli di un solo libro, o libri a sé da creare uno dopo l’altro?</translation>
    </message>
    <message>
        <source>Ask each time</source>
        <translation>Chiedi ogni volta</translation>
    </message>
    <message>
        <source>Beside each source</source>
        <translation>Accanto a ogni sorgente</translation>
    </message>
    <message>
        <source>Books of the queue are being made. Stop the queue and close the window? Nothing of the book being made is kept; the books still waiting are there next time.</source>
        <translation>Si stanno creando i libri della coda. Fermare la coda e chiudere la finestra? Del libro in creazione non resta nulla; i libri ancora in attesa ci saranno la prossima volta.</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Giù</translation>
    </message>
    <message>
        <source>Folder for the Archives</source>
        <translation>Cartella per gli archivi</translation>
    </message>
    <message>
        <source>Into a folder…</source>
        <translation>In una cartella…</translation>
    </message>
    <message>
        <source>Make Again</source>
        <translation>Crea di nuovo</translation>
    </message>
    <message>
        <source>Make Failed Again</source>
        <translation>Ricrea i falliti</translation>
    </message>
    <message>
        <source>Make With Preset</source>
        <translation>Crea con il preset</translation>
    </message>
    <message>
        <source>Make the waiting books one after another</source>
        <translation>Crea i libri in attesa uno dopo l’altro</translation>
    </message>
    <message>
        <source>No book is waiting. Make Again sets a book made or failed to be made again.</source>
        <translation>Nessun libro è in attesa. «Crea di nuovo» rimette in attesa un libro creato o fallito.</translation>
    </message>
    <message>
        <source>One Book Each, Queued</source>
        <translation>Un libro ciascuno, in coda</translation>
    </message>
    <message>
        <source>One Book of Chapters</source>
        <translation>Un libro di capitoli</translation>
    </message>
    <message>
        <source>One book each, queued</source>
        <translation>Un libro ciascuno, in coda</translation>
    </message>
    <message>
        <source>One book of chapters</source>
        <translation>Un libro di capitoli</translation>
    </message>
    <message>
        <source>Queue</source>
        <translation>Coda</translation>
    </message>
    <message>
        <source>Remember this (the queue panel changes it)</source>
        <translation>Ricorda la scelta (si cambia nel pannello della coda)</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Rimuovi</translation>
    </message>
    <message>
        <source>Replace archives that exist</source>
        <translation>Sostituisci gli archivi esistenti</translation>
    </message>
    <message>
        <source>Several Books?</source>
        <translation>Più libri?</translation>
    </message>
    <message>
        <source>Several dropped:</source>
        <translation>Più elementi rilasciati:</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Avvia</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Ferma</translation>
    </message>
    <message>
        <source>Stop the book being made and the queue</source>
        <translation>Ferma il libro in creazione e la coda</translation>
    </message>
    <message>
        <source>The book being made was stopped; nothing of it was made. Stop the queue too?</source>
        <translation>Il libro in creazione è stato fermato; non ne è stato creato nulla. Fermare anche la coda?</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Su</translation>
    </message>
    <message>
        <source>Book %1 of %2: %p%</source>
        <translation>Libro %1 di %2: %p%</translation>
    </message>
    <message>
        <source>Books added next are made with</source>
        <translation>I libri aggiunti dopo sono fatti con</translation>
    </message>
    <message>
        <source>Preset:</source>
        <translation>Preset:</translation>
    </message>
    <message>
        <source>The preset the books are made with; their own options are the window&apos;s as they were when they were added</source>
        <translation>Il preset con cui sono fatti i libri; le loro opzioni sono quelle della finestra com&apos;erano quando furono aggiunti</translation>
    </message>
    <message>
        <source>Kind:</source>
        <translation>Tipo:</translation>
    </message>
    <message>
        <source>What the books are made as</source>
        <translation>Che cosa diventano i libri</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 e altri %2</translation>
    </message>
    <message>
        <source>The archive %1 exists already. Replace it when the book is made again?</source>
        <translation>L&apos;archivio %1 esiste già. Sostituirlo quando il libro sarà rifatto?</translation>
    </message>
    <message>
        <source>The archives of %1 books exist already: %2. Replace them when the books are made again?</source>
        <translation>Gli archivi di %1 libri esistono già: %2. Sostituirli quando i libri saranno rifatti?</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Sostituisci</translation>
    </message>
    <message>
        <source>Own options</source>
        <translation>Opzioni proprie</translation>
    </message>
    <message>
        <source>The selected books are made with</source>
        <translation>I libri selezionati sono fatti con</translation>
    </message>
    <message>
        <source>There is no preset &quot;%1&quot;.</source>
        <translation>Non c&apos;è un preset &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>A book waits in the queue, not made yet. Close the window? It is there next time.</source>
        <translation>Un libro attende nella coda, non ancora fatto. Chiudere la finestra? Lo ritroverai la prossima volta.</translation>
    </message>
    <message>
        <source>%1 books wait in the queue, not made yet. Close the window? They are there next time.</source>
        <translation>%1 libri attendono nella coda, non ancora fatti. Chiudere la finestra? Li ritroverai la prossima volta.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>Don&apos;t ask again</source>
        <translation>Non chiedere più</translation>
    </message>
</context>
<context>
    <name>QueueFile</name>
    <message>
        <source>it is damaged at byte %1: %2</source>
        <translation>è danneggiato al byte %1: %2</translation>
    </message>
    <message>
        <source>it holds no queue</source>
        <translation>non contiene alcuna coda</translation>
    </message>
    <message>
        <source>The queue of %1 cannot be read: %2</source>
        <translation>La coda di %1 non si può leggere: %2</translation>
    </message>
    <message>
        <source>it is damaged</source>
        <translation>è danneggiato</translation>
    </message>
    <message>
        <source>The queue in %1 cannot be read (%2); it is left as it is, and the queue is not saved over it.</source>
        <translation>La coda in %1 non si può leggere (%2); resta com&apos;è, e la coda non viene salvata sopra di essa.</translation>
    </message>
    <message>
        <source>The queue in %1 cannot be read (%2); it is kept as %3.</source>
        <translation>La coda in %1 non si può leggere (%2); è conservata come %3.</translation>
    </message>
    <message>
        <source>%1 could not be read, and is kept as it is.</source>
        <translation>%1 non si è potuto leggere, e resta com&apos;è.</translation>
    </message>
</context>
<context>
    <name>QueueModel</name>
    <message>
        <source>Archive</source>
        <translation>Archivio</translation>
    </message>
    <message>
        <source>Book</source>
        <translation>Libro</translation>
    </message>
    <message>
        <source>From %1</source>
        <translation>Da %1</translation>
    </message>
    <message>
        <source>From %1 folders as chapters, in %2</source>
        <translation>Da %1 cartelle come capitoli, in %2</translation>
    </message>
    <message>
        <source>Into %1</source>
        <translation>In %1</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Stato</translation>
    </message>
    <message>
        <source>1 page, as the list showed it</source>
        <translation>1 pagina, come la mostrava l’elenco</translation>
    </message>
    <message>
        <source>%1 pages, as the list showed them</source>
        <translation>%1 pagine, come le mostrava l’elenco</translation>
    </message>
    <message>
        <source>Made as %1 with its own options</source>
        <translation>Fatto come %1 con le sue opzioni</translation>
    </message>
    <message>
        <source>Made as %1 with the preset %2</source>
        <translation>Fatto come %1 con il preset %2</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Preset</source>
        <translation>Preset</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Avanzamento</translation>
    </message>
    <message>
        <source>%1 (in %2)</source>
        <translation>%1 (in %2)</translation>
    </message>
</context>
<context>
    <name>QueueRunner</name>
    <message>
        <source>Its archive %1 would be the same as book %2&apos;s; give it another folder or name.</source>
        <translation>Il suo archivio %1 sarebbe lo stesso del libro %2; dagli un’altra cartella o un altro nome.</translation>
    </message>
</context>
<context>
    <name>QueuedBook</name>
    <message>
        <source>Failed: %1</source>
        <translation>Fallito: %1</translation>
    </message>
    <message>
        <source>Its source is gone: %1</source>
        <translation>La sua sorgente non c’è più: %1</translation>
    </message>
    <message>
        <source>Making: page %1 of %2</source>
        <translation>In creazione: pagina %1 di %2</translation>
    </message>
    <message>
        <source>Making: reading its pages</source>
        <translation>In creazione: lettura delle pagine</translation>
    </message>
    <message>
        <source>Skipped: %1</source>
        <translation>Saltato: %1</translation>
    </message>
    <message>
        <source>Stopped; nothing was made</source>
        <translation>Fermato; non è stato creato nulla</translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation>In attesa</translation>
    </message>
    <message>
        <source>Made: %1, in %2 s</source>
        <translation>Creato: %1, in %2 s</translation>
    </message>
    <message>
        <source>Made without some of it: %1, in %2 s</source>
        <translation>Creato senza una parte: %1, in %2 s</translation>
    </message>
    <message>
        <source>%1 (and %2 more)</source>
        <translation>%1 (e altre %2)</translation>
    </message>
    <message>
        <source>Making: listing its pages, %L1 entries so far</source>
        <translation>In creazione: elenco delle sue pagine, finora %L1 voci</translation>
    </message>
    <message>
        <source>own options</source>
        <translation>opzioni proprie</translation>
    </message>
</context>
<context>
    <name>Quirevale</name>
    <message>
        <source>Select images folder</source>
        <translation>Selezionare cartella immagini</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Attenzione</translation>
    </message>
    <message>
        <source>No image file found</source>
        <translation>Nessuna immagine trovata</translation>
    </message>
    <message>
        <source>Create CBZ</source>
        <translation>Crea CBZ</translation>
    </message>
    <message>
        <source>Pick the folder of pages</source>
        <translation>Scegli la cartella delle pagine</translation>
    </message>
    <message>
        <source>Make the archive of the checked pages</source>
        <translation>Crea l&apos;archivio delle pagine selezionate</translation>
    </message>
    <message>
        <source>Move the current page up</source>
        <translation>Sposta sopra la pagina corrente</translation>
    </message>
    <message>
        <source>Move the current page down</source>
        <translation>Sposta sotto la pagina corrente</translation>
    </message>
    <message>
        <source>Stop making the archive</source>
        <translation>Interrompi la creazione dell&apos;archivio</translation>
    </message>
    <message>
        <source>No page is checked: there is nothing to put in an archive.</source>
        <translation>Nessuna pagina è selezionata: non c&apos;è nulla da mettere in un archivio.</translation>
    </message>
    <message>
        <source>Pick a folder of pages with File &gt; Open Folder… (%1), or drop one here.</source>
        <translation>Scegliere una cartella di pagine con File &gt; Apri cartella… (%1), o trascinarla qui.</translation>
    </message>
    <message>
        <source>Screen size…</source>
        <translation>Dimensione schermo…</translation>
    </message>
    <message>
        <source>Space checks or unchecks the current page; drag a page to move it; %1 turns it; right-click for a cut or a border of its own.</source>
        <translation>Spazio seleziona o deseleziona la pagina corrente; trascina una pagina per spostarla; %1 la ruota; clic destro per una divisione o un bordo propri.</translation>
    </message>
    <message>
        <source>PDF Resolution</source>
        <translation>Risoluzione PDF</translation>
    </message>
    <message>
        <source>Dots per inch PDF pages are rendered at:</source>
        <translation>Punti per pollice a cui rendere le pagine PDF:</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Errore</translation>
    </message>
    <message>
        <source>Unable to create CBZ file!</source>
        <translation>Impossibile creare il file CBZ!</translation>
    </message>
    <message>
        <source>Advise</source>
        <translation>Avviso</translation>
    </message>
    <message>
        <source>File successfull created!</source>
        <translation>File creato con successo!</translation>
    </message>
    <message>
        <source>Unable to load image</source>
        <translation>Impossibile caricare l&apos;immagine</translation>
    </message>
    <message>
        <source>%1.
Dots per inch PDF pages are rendered at, at least:</source>
        <translation>%1.
Punti per pollice a cui rendere le pagine PDF, almeno:</translation>
    </message>
    <message>
        <source>Left out as blank: %1</source>
        <translation>Lasciate fuori perché bianche: %1</translation>
    </message>
    <message>
        <source>Add Books to Queue</source>
        <translation>Aggiungi libri alla coda</translation>
    </message>
    <message>
        <source>Folders, comic archives, PDFs and EPUBs (%1)</source>
        <translation>Cartelle, archivi di fumetti, PDF ed EPUB (%1)</translation>
    </message>
    <message>
        <source>Check Books</source>
        <translation>Controlla libri</translation>
    </message>
    <message>
        <source>Comic archives and EPUBs (%1)</source>
        <translation>Archivi di fumetti ed EPUB (%1)</translation>
    </message>
    <message>
        <source>Make the book of the checked pages</source>
        <translation>Crea il libro delle pagine selezionate</translation>
    </message>
</context>
<context>
    <name>QuirevaleClass</name>
    <message>
        <source>Image Info</source>
        <translation>Informazioni immagine</translation>
    </message>
    <message>
        <source>Width:</source>
        <translation>Lanrghezza:</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>Altezza:</translation>
    </message>
    <message>
        <source>Image Quality</source>
        <translation>Qualità Immagine</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Bassa</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Alta</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Dimensione</translation>
    </message>
    <message>
        <source>Keep Original Size</source>
        <translation>Mantieni dimensione originale</translation>
    </message>
    <message>
        <source>Resize</source>
        <translation>Ridimensiona</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Larghezza</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Altezza</translation>
    </message>
    <message>
        <source>Double Page</source>
        <translation>Doppia pagina</translation>
    </message>
    <message>
        <source>Cut pages</source>
        <translation>Dividi pagine</translation>
    </message>
    <message>
        <source>Cut point in percentage</source>
        <translation>Punto di divisione in percentuale</translation>
    </message>
    <message>
        <source>First page begins from</source>
        <translation>La prima pagina comincia da</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Sinistra</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Destra</translation>
    </message>
    <message>
        <source>Border</source>
        <translation>Bordo</translation>
    </message>
    <message>
        <source>Cut out border</source>
        <translation>Taglia bordo</translation>
    </message>
    <message>
        <source>Pixel number to cut</source>
        <translation>Numero di pixel da tagliare</translation>
    </message>
    <message>
        <source>Order</source>
        <translation>Ordine</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Sposta sopra</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Sposta sotto</translation>
    </message>
    <message>
        <source>Images Path</source>
        <translation>Parcorso immagini</translation>
    </message>
    <message>
        <source>Make CBZ</source>
        <translation>Crea CBZ</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Support this tool with a &lt;a href=&quot;https://quirevale.example.org/donate&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#0000ff;&quot;&gt;Donation&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Supporta questo programma con una &lt;a href=&quot;https://quirevale.example.org/donate&quot;&gt;&lt;span style=&quot; text-decoration: underline; color:#0000ff;&quot;&gt;Donazione&lt;/span&gt;&lt;/a&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Lingua</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>Donations...</source>
        <translation>Donazioni...</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Informazioni...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Comic information…</source>
        <translation>Informazioni sul fumetto…</translation>
    </message>
    <message>
        <source>Close this notice</source>
        <translation>Chiudi questo avviso</translation>
    </message>
    <message>
        <source>Open Folder…</source>
        <translation>Apri cartella…</translation>
    </message>
    <message>
        <source>Fit within W × H</source>
        <translation>Entro L × A</translation>
    </message>
    <message>
        <source>Sets the width and height to a reader&apos;s screen</source>
        <translation>Imposta larghezza e altezza sullo schermo di un lettore</translation>
    </message>
    <message>
        <source>Scales with filtering: finer lines, a little slower.</source>
        <translation>Ridimensiona con filtro: linee più fini, un po&apos; più lento.</translation>
    </message>
    <message>
        <source>Smooth</source>
        <translation>Morbido</translation>
    </message>
    <message>
        <source>A page is cut only when it is wider than tall, after its own turn: the spreads among single pages.</source>
        <translation>Una pagina viene divisa solo se è più larga che alta, dopo la sua rotazione: le doppie pagine tra le pagine singole.</translation>
    </message>
    <message>
        <source>Only pages wider than tall</source>
        <translation>Solo pagine più larghe che alte</translation>
    </message>
    <message>
        <source>On each page, cuts away the outer rows and columns of one colour (paper, a scanner&apos;s bed), at most a third of each side, never into a drawing.</source>
        <translation>Su ogni pagina, taglia via le righe e colonne esterne di un solo colore (carta, piano dello scanner), al massimo un terzo per lato, mai dentro un disegno.</translation>
    </message>
    <message>
        <source>Trim plain margins</source>
        <translation>Rifila i margini uniformi</translation>
    </message>
    <message>
        <source>Tolerance</source>
        <translation>Tolleranza</translation>
    </message>
    <message>
        <source>JPEG and WebP data hardly deflate (under 1 % on scans): stored, the pages make the archive in a fraction of the time, for a few bytes more.</source>
        <translation>I dati JPEG e WebP quasi non si comprimono (meno dell&apos;1 % sulle scansioni): memorizzate così, le pagine creano l&apos;archivio in una frazione del tempo, per pochi byte in più.</translation>
    </message>
    <message>
        <source>Store pages without
compression</source>
        <translation>Memorizza le pagine
senza compressione</translation>
    </message>
    <message>
        <source>A page without colour is written in grey (a JPEG of one channel, or a grey WebP): smaller, and quicker to make.</source>
        <translation>Una pagina senza colore viene scritta in grigio (JPEG a un canale, o WebP grigio): più piccola, e più rapida da creare.</translation>
    </message>
    <message>
        <source>Grey pages as grey</source>
        <translation>Pagine grigie in grigio</translation>
    </message>
    <message>
        <source>Every page is written in grey, as e-ink readers show it.</source>
        <translation>Ogni pagina viene scritta in grigio, come la mostrano i lettori e-ink.</translation>
    </message>
    <message>
        <source>Every page in grey</source>
        <translation>Ogni pagina in grigio</translation>
    </message>
    <message>
        <source>A JPEG, PNG, WebP or GIF page that no option changes (no border cut, no split, no trim, no resize, no turn) goes into the archive as its file is, under its own type&apos;s name, once it has decoded cleanly: no quality lost, little time spent. Other types are converted.</source>
        <translation>Una pagina JPEG, PNG, WebP o GIF che nessuna opzione modifica (nessun taglio del bordo, nessuna divisione, nessuna rifilatura, nessun ridimensionamento, nessuna rotazione) va nell&apos;archivio così com&apos;è il suo file, con il nome del suo tipo, dopo essere stata decodificata senza errori: nessuna perdita di qualità, poco tempo speso. Gli altri tipi vengono convertiti.</translation>
    </message>
    <message>
        <source>Keep unchanged pages
as they are</source>
        <translation>Lascia com&apos;erano le
pagine invariate</translation>
    </message>
    <message>
        <source>The turn, the border and the split of a JPEG page are done on its compressed blocks: its pixels stay exactly as they are. A cut&apos;s left and top edges move back to the page&apos;s 8 or 16 pixel grid, keeping a few columns or rows more.</source>
        <translation>La rotazione, il bordo e la divisione di una pagina JPEG vengono fatti sui suoi blocchi compressi: i suoi pixel restano esattamente come sono. I bordi sinistro e superiore di un taglio arretrano sulla griglia di 8 o 16 pixel della pagina, tenendo qualche colonna o riga in più.</translation>
    </message>
    <message>
        <source>Cut JPEG pages without
re-encoding</source>
        <translation>Taglia le pagine JPEG
senza ricodificarle</translation>
    </message>
    <message>
        <source>List Them</source>
        <translation>Elencale</translation>
    </message>
    <message>
        <source>List Every Picture Type</source>
        <translation>Elenca ogni tipo di immagine</translation>
    </message>
    <message>
        <source>Besides jpg, png, bmp and tif pages, list pictures of every other type this program reads (jpeg, webp, gif, avif, jxl, heic, …)</source>
        <translation>Oltre alle pagine jpg, png, bmp e tif, elenca le immagini di ogni altro tipo che questo programma legge (jpeg, webp, gif, avif, jxl, heic, …)</translation>
    </message>
    <message>
        <source>Open Archive…</source>
        <translation>Apri archivio…</translation>
    </message>
    <message>
        <source>List the pages of a comic archive (CBZ, CBR, CB7, CBT) to make a new one of them</source>
        <translation>Elenca le pagine di un archivio di fumetti (CBZ, CBR, CB7, CBT) per crearne uno nuovo</translation>
    </message>
    <message>
        <source>PDF Resolution…</source>
        <translation>Risoluzione PDF…</translation>
    </message>
    <message>
        <source>How many dots per inch PDF pages are rendered at</source>
        <translation>A quanti punti per pollice vengono rese le pagine PDF</translation>
    </message>
    <message>
        <source>WebP, lossless</source>
        <translation>WebP, senza perdita</translation>
    </message>
    <message>
        <source>Stretch to W × H</source>
        <translation>Stira a L × A</translation>
    </message>
    <message>
        <source>Pages that already fit keep their size: a small scan is not blown up.</source>
        <translation>Le pagine che già ci stanno mantengono le loro dimensioni: una scansione piccola non viene ingrandita.</translation>
    </message>
    <message>
        <source>Do not enlarge</source>
        <translation>Non ingrandire</translation>
    </message>
    <message>
        <source>Presets</source>
        <translation>Preset</translation>
    </message>
    <message>
        <source>Save Options as Preset…</source>
        <translation>Salva opzioni come preset…</translation>
    </message>
    <message>
        <source>Keep the options as they are now under a name of your own</source>
        <translation>Conserva le opzioni attuali con un nome scelto da te</translation>
    </message>
    <message>
        <source>Delete Preset…</source>
        <translation>Elimina preset…</translation>
    </message>
    <message>
        <source>Reset Options</source>
        <translation>Ripristina opzioni</translation>
    </message>
    <message>
        <source>Back to the options of a first start</source>
        <translation>Torna alle opzioni del primo avvio</translation>
    </message>
    <message>
        <source>What the pages are written as. WebP pages are smaller at the same quality; tablet and desktop readers show them, many e-ink readers do not. Lossless WebP keeps every pixel, and is larger.</source>
        <translation>Il formato in cui sono scritte le pagine. Le pagine WebP sono più piccole a parità di qualità; i lettori per tablet e computer le mostrano, molti lettori e-ink no. WebP senza perdita conserva ogni pixel, ed è più grande.</translation>
    </message>
    <message>
        <source>Many e-ink readers (KOReader, Kobo, Librera) show no WebP page: choose JPEG for them.</source>
        <translation>Molti lettori e-ink (KOReader, Kobo, Librera) non mostrano le pagine WebP: per loro scegli JPEG.</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Visualizza</translation>
    </message>
    <message>
        <source>Keep Page Proportions</source>
        <translation>Mantieni le proporzioni della pagina</translation>
    </message>
    <message>
        <source>Show the page in its own proportions instead of stretched over the preview</source>
        <translation>Mostra la pagina nelle sue proporzioni invece che stirata sull&apos;anteprima</translation>
    </message>
    <message>
        <source>Scans</source>
        <translation>Scansioni</translation>
    </message>
    <message>
        <source>Finds how far each page was laid askew on the scanner (up to 5°) and turns it back; a page whose slant cannot be told is left as it is.</source>
        <translation>Trova quanto ogni pagina era storta sullo scanner (fino a 5°) e la raddrizza; una pagina la cui inclinazione non si può stabilire resta com&apos;è.</translation>
    </message>
    <message>
        <source>Straighten pages</source>
        <translation>Raddrizza le pagine</translation>
    </message>
    <message>
        <source>Makes each page&apos;s paper white and its ink black by stretching its levels between them; colours keep their hues.</source>
        <translation>Rende bianca la carta e nero l&apos;inchiostro di ogni pagina estendendone i livelli tra i due; i colori mantengono la loro tinta.</translation>
    </message>
    <message>
        <source>Even out the paper</source>
        <translation>Uniforma la carta</translation>
    </message>
    <message>
        <source>In hundredths: above 100 lightens the middle tones, as e-ink screens want.</source>
        <translation>In centesimi: sopra 100 schiarisce i toni medi, come vogliono gli schermi e-ink.</translation>
    </message>
    <message>
        <source>Gamma</source>
        <translation>Gamma</translation>
    </message>
    <message>
        <source>Unchecks the pages with nothing on them (a scanner&apos;s noise, specks and a thin edge aside) as they are found; check one to keep it.</source>
        <translation>Deseleziona le pagine senza nulla sopra (a parte il rumore dello scanner, qualche puntino e un bordo sottile) man mano che le trova; selezionane una per tenerla.</translation>
    </message>
    <message>
        <source>Leave out blank pages</source>
        <translation>Lascia fuori le pagine bianche</translation>
    </message>
    <message>
        <source>Puts a blank page before a spread kept whole that would begin on the second page of a two-page reader&apos;s pair, so that every spread sits on facing pages.</source>
        <translation>Mette una pagina bianca prima di una doppia pagina tenuta intera che comincerebbe sulla seconda pagina di una coppia di un lettore a due pagine, perché ogni doppia pagina stia su pagine affiancate.</translation>
    </message>
    <message>
        <source>Spreads on facing pages</source>
        <translation>Doppie pagine affiancate</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>Dimensione reale</translation>
    </message>
    <message>
        <source>Show the page at 100 %, one pixel of it a pixel of the screen, to judge its quality; drag it or turn the wheel to move over it</source>
        <translation>Mostra la pagina al 100 %, un suo pixel per un pixel dello schermo, per giudicarne la qualità; trascinarla o girare la rotella per spostarsi su di essa</translation>
    </message>
    <message>
        <source>Kobo EPUB</source>
        <translation>EPUB Kobo</translation>
    </message>
    <message>
        <source>Add Books to Queue…</source>
        <translation>Aggiungi libri alla coda…</translation>
    </message>
    <message>
        <source>Add folders, archives, PDFs and EPUBs to the queue, each a book of its own, to be made one after another</source>
        <translation>Aggiunge alla coda cartelle, archivi, PDF ed EPUB, ognuno un libro a sé, da creare uno dopo l’altro</translation>
    </message>
    <message>
        <source>In hundredths: above 100 lightens the middle tones of every page; greys stay grey.</source>
        <translation>In centesimi: sopra 100 schiarisce i toni medi di ogni pagina; i grigi restano grigi.</translation>
    </message>
    <message>
        <source>Makes colours stronger, for a colour e-ink screen that shows them pale; greys stay grey.</source>
        <translation>Rende i colori più forti, per uno schermo e-ink a colori che li mostra pallidi; i grigi restano grigi.</translation>
    </message>
    <message>
        <source>Saturation +</source>
        <translation>Saturazione +</translation>
    </message>
    <message>
        <source>Check Books…</source>
        <translation>Controlla libri…</translation>
    </message>
    <message>
        <source>Check comic archives and EPUBs made already for what readers and servers trip on, and make clean copies of them</source>
        <translation>Controlla archivi di fumetti ed EPUB già fatti per ciò su cui inciampano lettori e server, e ne crea copie pulite</translation>
    </message>
    <message>
        <source>Long strip: cut to
the screen&apos;s height</source>
        <translation>Striscia lunga: taglia
all&apos;altezza dello schermo</translation>
    </message>
    <message>
        <source>Page height</source>
        <translation>Altezza pagina</translation>
    </message>
    <message>
        <source>Pages of one width at least twice as tall as wide (a webtoon&apos;s tiles) are joined and cut into pages no higher than this, each cut on a plain band between panels where one is in reach. Other pages are left alone.</source>
        <translation>Le pagine di una stessa larghezza alte almeno il doppio (i pezzi di un webtoon) vengono unite e tagliate in pagine non più alte di così, ogni taglio su una fascia uniforme tra le vignette dove ce n&apos;è una a portata. Le altre pagine restano come sono.</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Modifica</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Undo the last move, check or treatment of a page</source>
        <translation>Annulla l&apos;ultimo spostamento, spunta o trattamento di una pagina</translation>
    </message>
    <message>
        <source>Ctrl+Z</source>
        <translation>Ctrl+Z</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Ripeti</translation>
    </message>
    <message>
        <source>Make again what was undone</source>
        <translation>Rifai ciò che è stato annullato</translation>
    </message>
    <message>
        <source>Ctrl+Shift+Z</source>
        <translation>Ctrl+Shift+Z</translation>
    </message>
    <message>
        <source>User Guide</source>
        <translation>Guida utente</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>Kindle (AZW3)</source>
        <translation>Kindle (AZW3)</translation>
    </message>
    <message>
        <source>Parts up to</source>
        <translation>Parti fino a</translation>
    </message>
    <message>
        <source>A book larger than this is made as parts no larger (&quot;Book (1 of 3).epub&quot;), each a whole book, parted between chapters where one lies within reach: for a service that takes no larger file (Kindle&apos;s by mail takes 50 MB).</source>
        <translation>Un libro più grande di così viene creato in parti non più grandi (&quot;Libro (1 di 3).epub&quot;), ciascuna un libro intero, divise tra i capitoli dove uno è a portata: per un servizio che non accetta file più grandi (quello di Kindle via e-mail accetta 50 MB).</translation>
    </message>
    <message>
        <source>no limit</source>
        <translation>nessun limite</translation>
    </message>
    <message>
        <source>What the book is made as: a CBZ for comic readers and servers, or a fixed-layout EPUB for e-readers (Apple Books, Kindle, Kobo), which holds JPEG pages. Kobo EPUB is the same book, named as Kobo&apos;s reader wants it. Kindle (AZW3) is a fixed-layout Kindle book, to copy to a Kindle by cable. PDF is a page a picture, each page the picture&apos;s shape, for tablets and large e-readers.</source>
        <translation>Come viene creato il libro: un CBZ per lettori e server di fumetti, oppure un EPUB a impaginazione fissa per lettori di e-book (Apple Books, Kindle, Kobo), che contiene pagine JPEG. EPUB Kobo è lo stesso libro, con il nome che vuole il lettore Kobo. Kindle (AZW3) è un libro Kindle a impaginazione fissa, da copiare su un Kindle via cavo. PDF è una pagina per immagine, ogni pagina della forma della sua immagine, per tablet e grandi lettori di e-book.</translation>
    </message>
</context>
<context>
    <name>ScanCleanup</name>
    <message>
        <source>it has no ink to tell from its paper</source>
        <translation>non ha inchiostro da distinguere dalla carta</translation>
    </message>
    <message>
        <source>straightened by %1</source>
        <translation>raddrizzata di %1</translation>
    </message>
    <message>
        <source>not straightened: %1</source>
        <translation>non raddrizzata: %1</translation>
    </message>
    <message>
        <source>paper left as scanned: %1</source>
        <translation>carta lasciata come scansionata: %1</translation>
    </message>
    <message>
        <source>Straight already (%1)</source>
        <translation>Già dritta (%1)</translation>
    </message>
</context>
<context>
    <name>ScratchPackager</name>
    <message>
        <source>The book was not started.</source>
        <translation>Il libro non è stato iniziato.</translation>
    </message>
    <message>
        <source>Every page was left out: there is no page to make a book of.</source>
        <translation>Ogni pagina è stata tralasciata: non c&apos;è alcuna pagina di cui fare un volume.</translation>
    </message>
    <message>
        <source>The book cannot be written: %1</source>
        <translation>Impossibile scrivere il libro: %1</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>%1 is a link to nothing.</source>
        <translation>%1 è un collegamento a niente.</translation>
    </message>
    <message>
        <source>%1 is not a regular file (a device, a pipe, a socket or a folder).</source>
        <translation>%1 non è un file normale (un dispositivo, una pipe, un socket o una cartella).</translation>
    </message>
    <message>
        <source>it is not a regular file (a device, a pipe, a socket or a folder)</source>
        <translation>non è un file normale (un dispositivo, una pipe, un socket o una cartella)</translation>
    </message>
    <message>
        <source>it is larger (%1 bytes) than any such file (%2 bytes)</source>
        <translation>è più grande (%1 byte) di qualsiasi file del genere (%2 byte)</translation>
    </message>
    <message>
        <source>it grew past %1 bytes while it was read</source>
        <translation>è cresciuto oltre %1 byte mentre veniva letto</translation>
    </message>
    <message>
        <source>The settings file %1 cannot be used: %2. What is set now is not kept.</source>
        <translation>Il file delle impostazioni %1 non si può usare: %2. Ciò che si imposta ora non viene conservato.</translation>
    </message>
</context>
<context>
    <name>SizeReport</name>
    <message>
        <source>%1 entries from %2 pages, %3</source>
        <translation>%1 voci da %2 pagine, %3</translation>
    </message>
    <message>
        <source>%1, %2× its pages</source>
        <translation>%1, %2× le sue pagine</translation>
    </message>
    <message>
        <source>lossless WebP</source>
        <translation>WebP senza perdita</translation>
    </message>
    <message>
        <source>every page encoded again (unchanged pages are not kept as they are)</source>
        <translation>ogni pagina codificata di nuovo (le pagine non modificate non sono mantenute come sono)</translation>
    </message>
    <message>
        <source>quality %1</source>
        <translation>qualità %1</translation>
    </message>
    <message>
        <source>pages enlarged to %1 × %2</source>
        <translation>pagine ingrandite a %1 × %2</translation>
    </message>
    <message>
        <source>pages stored, not compressed</source>
        <translation>pagine archiviate, non compresse</translation>
    </message>
    <message>
        <source>It is %1× the size of its pages</source>
        <translation>È %1× la dimensione delle sue pagine</translation>
    </message>
    <message>
        <source>%1, made so by: %2</source>
        <translation>%1, per via di: %2</translation>
    </message>
    <message>
        <source>%1. Presets that keep pages as they are would not: %2.</source>
        <translation>%1. Le preimpostazioni che mantengono le pagine come sono non lo farebbero: %2.</translation>
    </message>
    <message>
        <source>EPUB: %1</source>
        <translation>EPUB: %1</translation>
    </message>
    <message>
        <source>Kobo EPUB: %1</source>
        <translation>EPUB Kobo: %1</translation>
    </message>
    <message>
        <source>%1 (%2 × %3)</source>
        <translation>%1 (%2 × %3)</translation>
    </message>
    <message>
        <source>Kobo&apos;s reader turns slowly through pictures larger than its screen; the presets for e-ink readers fit them to one: %1.</source>
        <translation>Il lettore Kobo sfoglia lentamente le immagini più grandi del suo schermo; i preset per lettori e-ink le adattano a uno: %1.</translation>
    </message>
    <message>
        <source>Kindle book: %1</source>
        <translation>Libro Kindle: %1</translation>
    </message>
    <message>
        <source>PDF: %1</source>
        <translation>PDF: %1</translation>
    </message>
</context>
<context>
    <name>StripMaker</name>
    <message>
        <source>Page %1 cannot be read: %2</source>
        <translation>La pagina %1 non può essere letta: %2</translation>
    </message>
    <message>
        <source>Page %1 holds more than one picture; a long strip is made of pages of one each. Leave it uncut.</source>
        <translation>La pagina %1 contiene più di un’immagine; una striscia lunga è fatta di pagine di una sola immagine. Lasciala intera.</translation>
    </message>
    <message>
        <source>The pages of the long strip from page %1 would be %2 × %3 pixels before they are fitted: too large to be made.</source>
        <translation>Le pagine della striscia lunga dalla pagina %1 sarebbero di %2 × %3 pixel prima di essere adattate: troppo grandi per essere create.</translation>
    </message>
    <message>
        <source>Page %1 is %2 pixels wide, the long strip it is in %3. Leave it uncut.</source>
        <translation>La pagina %1 è larga %2 pixel, la striscia lunga in cui si trova %3. Lasciala intera.</translation>
    </message>
    <message>
        <source>Page %1 cannot be held in memory to be joined to its long strip.</source>
        <translation>La pagina %1 non può essere tenuta in memoria per essere unita alla sua striscia lunga.</translation>
    </message>
    <message>
        <source>A page of the long strip from page %1 cannot be held in memory.</source>
        <translation>Una pagina della striscia lunga dalla pagina %1 non può essere tenuta in memoria.</translation>
    </message>
    <message>
        <source>A page of the long strip from page %1 comes to nothing.</source>
        <translation>Di una pagina della striscia lunga che inizia con la pagina %1 non resta nulla.</translation>
    </message>
    <message>
        <source>a long strip, cut into %1 pages</source>
        <translation>una striscia lunga, tagliata in %1 pagine</translation>
    </message>
    <message>
        <source>its long strip of %1 pages is cut into %2</source>
        <translation>la sua striscia lunga di %1 pagine è tagliata in %2</translation>
    </message>
    <message>
        <source>left out: it cannot be read: %1</source>
        <translation>tralasciata: non si può leggere: %1</translation>
    </message>
    <message>
        <source>joined to the long strip that begins with page %1</source>
        <translation>unita alla striscia lunga che inizia con la pagina %1</translation>
    </message>
</context>
<context>
    <name>UserGuide</name>
    <message>
        <source>User Guide</source>
        <translation>Guida utente</translation>
    </message>
    <message>
        <source>Find in the guide (Enter: the next place)</source>
        <translation>Cerca nella guida (Invio: il punto successivo)</translation>
    </message>
    <message>
        <source>:/Guide/user-guide.md</source>
        <extracomment>The guide in this language: its file among the program&apos;s resources.</extracomment>
        <translation>:/Guide/user-guide.it.md</translation>
    </message>
</context>
<context>
    <name>ZipEntryCopy</name>
    <message>
        <source>Its index names %1 entries where %2 are found: other programs would show other pages.</source>
        <translation>Il suo indice nomina %1 voci dove se ne trovano %2: altri programmi mostrerebbero altre pagine.</translation>
    </message>
</context>
<context>
    <name>ZipIndex</name>
    <message>
        <source>Its index names more than %1 entries.</source>
        <translation>Il suo indice nomina più di %1 voci.</translation>
    </message>
    <message>
        <source>Its index gives two entries the same data: other programs would show other pages.</source>
        <translation>Il suo indice dà a due voci gli stessi dati: altri programmi mostrerebbero altre pagine.</translation>
    </message>
</context>
<context>
    <name>ZipWriter</name>
    <message>
        <source>The archive cannot be started</source>
        <translation>Impossibile iniziare l&apos;archivio</translation>
    </message>
    <message>
        <source>Entry %1 would be empty.</source>
        <translation>La voce %1 sarebbe vuota.</translation>
    </message>
    <message>
        <source>Entry %1 cannot be started</source>
        <translation>Impossibile iniziare la voce %1</translation>
    </message>
    <message>
        <source>Entry %1 cannot be written</source>
        <translation>Impossibile scrivere la voce %1</translation>
    </message>
    <message>
        <source>The finished archive cannot be read back.</source>
        <translation>L&apos;archivio terminato non può essere riletto.</translation>
    </message>
    <message>
        <source>The finished archive does not read back as it was written.</source>
        <translation>L&apos;archivio terminato non si rilegge come è stato scritto.</translation>
    </message>
    <message>
        <source>The archive was not started.</source>
        <translation>L&apos;archivio non è stato iniziato.</translation>
    </message>
    <message>
        <source>The archive cannot be finished</source>
        <translation>Impossibile completare l&apos;archivio</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Makes a CBZ comic archive of a folder of page images, a comic archive or a PDF.</source>
        <translation>Crea un archivio di fumetti CBZ da una cartella di immagini delle pagine, da un archivio di fumetti o da un PDF.</translation>
    </message>
    <message>
        <source>A folder of pages, one of its pages, a comic archive or a PDF, to list when the window opens.</source>
        <translation>Una cartella di pagine, una delle sue pagine, un archivio di fumetti o un PDF, da elencare all&apos;apertura della finestra.</translation>
    </message>
</context>
</TS>
