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
</context>
</TS>
