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
    <name>CbzBuild</name>
    <message>
        <source>Page %1 cannot be read: %2</source>
        <translation>La pagina %1 non può essere letta: %2</translation>
    </message>
    <message>
        <source>A border of %1 pixels leaves nothing of page %2 (%3 × %4).</source>
        <translation>Un bordo di %1 pixel non lascia nulla della pagina %2 (%3 × %4).</translation>
    </message>
    <message>
        <source>Page %1 cannot be encoded as JPEG.</source>
        <translation>La pagina %1 non può essere codificata in JPEG.</translation>
    </message>
</context>
<context>
    <name>CbzWriter</name>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>La cartella %1 non esiste.</translation>
    </message>
    <message>
        <source>The archive cannot be created in %1: %2</source>
        <translation>Impossibile creare l'archivio in %1: %2</translation>
    </message>
    <message>
        <source>The archive cannot be started</source>
        <translation>Impossibile iniziare l'archivio</translation>
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
        <translation>L'archivio terminato non può essere riletto.</translation>
    </message>
    <message>
        <source>The finished archive does not read back as it was written.</source>
        <translation>L'archivio terminato non si rilegge come è stato scritto.</translation>
    </message>
    <message>
        <source>The archive was not started.</source>
        <translation>L'archivio non è stato iniziato.</translation>
    </message>
    <message>
        <source>The archive cannot be finished</source>
        <translation>Impossibile completare l'archivio</translation>
    </message>
    <message>
        <source>The archive cannot be saved to the disk: %1</source>
        <translation>Impossibile salvare l'archivio sul disco: %1</translation>
    </message>
    <message>
        <source>The archive cannot be renamed to %1: %2</source>
        <translation>Impossibile rinominare l'archivio in %1: %2</translation>
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
    <name>PageReader</name>
    <message>
        <source>The file is not a picture in a format this program reads.</source>
        <translation>Il file non è un'immagine in un formato che questo programma legge.</translation>
    </message>
    <message>
        <source>Picture %1 of the file cannot be found.</source>
        <translation>L'immagine %1 del file non si trova.</translation>
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
        <source>Unable to load image</source>
        <translation>Impossibile caricare l&apos;immagine</translation>
    </message>
    <message>
        <source>Create CBZ</source>
        <translation>Crea CBZ</translation>
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
        <source>Error</source>
        <translation>Errore</translation>
    </message>
    <message>
        <source>Unable to create CBZ file!</source>
        <translation>Impossibile creare il file CBZ!</translation>
    </message>
    <message>
        <source>Some files of this folder cannot be used: their names are not valid text.</source>
        <translation>Alcuni file di questa cartella non possono essere usati: i loro nomi non sono testo valido.</translation>
    </message>
    <message>
        <source>Rename them and pick the folder again.</source>
        <translation>Rinominarli e scegliere di nuovo la cartella.</translation>
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
</context>
</TS>
