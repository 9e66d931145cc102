#ifndef CATALOGUE_H
#define CATALOGUE_H

#include <QString>
#include <QVector>

// The Italian catalogue as the program must ship it: context, English
// source text and Italian translation of every message.
struct CatalogueEntry
{
    const char *context;
    QString source;
    QString translation;
};

inline QString donationLine(const QString &words, const QString &link)
{
    return QStringLiteral(
               "<html><head/><body><p>%1<a href=\"https://quirevale.example.org/donate\">"
               "<span style=\" text-decoration: underline; color:#0000ff;\">%2</span>"
               "</a></p></body></html>")
        .arg(words, link);
}

inline const QVector<CatalogueEntry> &italianCatalogue()
{
    static const QVector<CatalogueEntry> entries = {
        {"About", "About", "Informazioni"},
        {"About", "For additional info, suggestions or donations visit the link below:",
         "Per informazioni, suggerimenti o donazioni visitare il sito sottostante:"},
        {"About", "Version", "Versione"},
        {"Quirevale", "Advise", "Avviso"},
        {"Quirevale", "Create CBZ", "Crea CBZ"},
        {"Quirevale", "Error", "Errore"},
        {"Quirevale", "File successfull created!", "File creato con successo!"},
        {"Quirevale", "No image file found", "Nessuna immagine trovata"},
        {"Quirevale", "Select images folder", "Selezionare cartella immagini"},
        {"Quirevale", "Unable to create CBZ file!", "Impossibile creare il file CBZ!"},
        {"Quirevale", "Unable to load image", "Impossibile caricare l'immagine"},
        {"Quirevale", "Warning", "Attenzione"},
        {"QuirevaleClass", donationLine("Support this tool with a ", "Donation"),
         donationLine("Supporta questo programma con una ", "Donazione")},
        {"QuirevaleClass", "About...", "Informazioni..."},
        {"QuirevaleClass", "Border", "Bordo"},
        {"QuirevaleClass", "Cut out border", "Taglia bordo"},
        {"QuirevaleClass", "Cut pages", "Dividi pagine"},
        {"QuirevaleClass", "Cut point in percentage", "Punto di divisione in percentuale"},
        {"QuirevaleClass", "Donations...", "Donazioni..."},
        {"QuirevaleClass", "Double Page", "Doppia pagina"},
        {"QuirevaleClass", "Exit", "Esci"},
        {"QuirevaleClass", "First page begins from", "La prima pagina comincia da"},
        {"QuirevaleClass", "Height", "Altezza"},
        {"QuirevaleClass", "Height:", "Altezza:"},
        {"QuirevaleClass", "High", "Alta"},
        {"QuirevaleClass", "Image Info", "Informazioni immagine"},
        {"QuirevaleClass", "Image Quality", "Qualità Immagine"},
        {"QuirevaleClass", "Images Path", "Parcorso immagini"},
        {"QuirevaleClass", "Keep Original Size", "Mantieni dimensione originale"},
        {"QuirevaleClass", "Language", "Lingua"},
        {"QuirevaleClass", "Left", "Sinistra"},
        {"QuirevaleClass", "Low", "Bassa"},
        {"QuirevaleClass", "Make CBZ", "Crea CBZ"},
        {"QuirevaleClass", "Move Down", "Sposta sotto"},
        {"QuirevaleClass", "Move Up", "Sposta sopra"},
        {"QuirevaleClass", "Order", "Ordine"},
        {"QuirevaleClass", "Pixel number to cut", "Numero di pixel da tagliare"},
        {"QuirevaleClass", "Resize", "Ridimensiona"},
        {"QuirevaleClass", "Right", "Destra"},
        {"QuirevaleClass", "Size", "Dimensione"},
        {"QuirevaleClass", "Width", "Larghezza"},
        {"QuirevaleClass", "Width:", "Lanrghezza:"},
        {"Donations",
         QStringLiteral("<html><head/><body><p><a href=\"https://quirevale.example.org/donate\">"
                        "<span style=\" text-decoration: underline; color:#0000ff;\">%1</span>"
                        "</a></p></body></html>")
             .arg("Read here why is important to make a donation"),
         QStringLiteral("<html><head/><body><p><a href=\"https://quirevale.example.org/donate\">"
                        "<span style=\" text-decoration: underline; color:#0000ff;\">%1</span>"
                        "</a></p></body></html>")
             .arg("Leggi qui perche è importante effettuare donazioni")},
        {"Donations", "Donations", "Donazioni"},
        {"Donations",
         "Thank you for your interest in Ostrelind products. I developed these products in my "
         "free time and I hope it may be useful to other. If you need help, want report bugs or "
         "submit requests for new features you can use the support forum. I will try to reply as "
         "soon as I can. If you like my products and you think that my work has been useful for "
         "you, please, consider the possibility of a donation.",
         "Grazie per il tuo interesse nei prodotti Ostrelind. Ho sviluppato questo software nel "
         "tempo libero e spero che possa essere utile anche agli altri. Se hai bisogno di aiuto, "
         "segnalare errori o richiedere nuove funzionalità puoi usare il forum di supporto. "
         "Provero a rispondere prima possibile. Se ti piace questo prodotto e pensi che il mio "
         "lavoro ti sia stato utile potresti considerare la possibilità di una donazione."},
    };
    return entries;
}

#endif // CATALOGUE_H
