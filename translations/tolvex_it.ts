<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>CodePageGuard</name>
    <message>
        <source>Too long for one message: | counts twice</source>
        <translation>Troppo lungo per un messaggio: | conta doppio</translation>
    </message>
    <message>
        <source>Cannot be sent, left out: </source>
        <translation>Non inviabile, omesso: </translation>
    </message>
</context>
<context>
    <name>TAboutForm</name>
    <message>
        <source>About...</source>
        <translation>Informazioni...</translation>
    </message>
    <message>
        <source>Program icon</source>
        <translation>Icona del programma</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>Make a donation</source>
        <translation>Fai una donazione</translation>
    </message>
    <message>
        <source>Support %1 today!</source>
        <translation>Sostieni %1 oggi stesso!</translation>
    </message>
    <message>
        <source>Web page</source>
        <translation>Sito web</translation>
    </message>
    <message>
        <source>Visit our home page</source>
        <translation>Visita il nostro sito</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>Send us your comments or suggestions</source>
        <translation>Inviaci commenti o suggerimenti</translation>
    </message>
    <message>
        <source>version 1.0 (build %1)</source>
        <translation>versione 1.0 (build %1)</translation>
    </message>
</context>
<context>
    <name>TChatForm</name>
    <message>
        <source>Transcript</source>
        <translation>Cronologia</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Messaggio</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;.</source>
        <translation>Impossibile creare il file &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Riduci a icona</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Nascondi</translation>
    </message>
    <message>
        <source>Send message</source>
        <translation>Invia messaggio</translation>
    </message>
    <message>
        <source>Resize window</source>
        <translation>Ridimensiona finestra</translation>
    </message>
    <message>
        <source>Copy to clipboard</source>
        <translation>Copia negli appunti</translation>
    </message>
    <message>
        <source>Clear text</source>
        <translation>Cancella testo</translation>
    </message>
    <message>
        <source>Save to file (RTF)</source>
        <translation>Salva su file (RTF)</translation>
    </message>
    <message>
        <source>Rich Text Format (*.rtf *.RTF)</source>
        <translation>Rich Text Format (*.rtf *.RTF)</translation>
    </message>
</context>
<context>
    <name>TConfigForm</name>
    <message>
        <source>Configuration</source>
        <translation>Configurazione</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Nome utente</translation>
    </message>
    <message>
        <source>(restore default)</source>
        <translation>(predefinito)</translation>
    </message>
    <message>
        <source>Restore the default user name</source>
        <translation>Ripristina il nome utente predefinito</translation>
    </message>
    <message>
        <source>Active interface</source>
        <translation>Interfaccia attiva</translation>
    </message>
    <message>
        <source>Communication port</source>
        <translation>Porta di comunicazione</translation>
    </message>
    <message>
        <source>UDP protocol</source>
        <translation>Protocollo UDP</translation>
    </message>
    <message>
        <source>Start automatically when I log in</source>
        <translation>Avvia all&apos;accesso</translation>
    </message>
    <message>
        <source>Enabled (delayed by 30&quot;)</source>
        <translation>Attivo (ritardo 30&quot;)</translation>
    </message>
    <message>
        <source>Start automatically at log-on</source>
        <translation>Avvia all&apos;accesso</translation>
    </message>
    <message>
        <source>Add channels automatically</source>
        <translation>Aggiungi canali in automatico</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Attivo</translation>
    </message>
    <message>
        <source>Other networks</source>
        <translation>Altre reti</translation>
    </message>
    <message>
        <source>Broadcast addresses or hosts of other subnets, separated by blanks. They need this network in their lists too.</source>
        <translation>Indirizzi broadcast o host di altre sottoreti, separati da spazi. Anche loro devono avere questa rete in elenco.</translation>
    </message>
    <message>
        <source>Failed to set data for &apos;%1&apos;</source>
        <translation>Impossibile impostare i dati di &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Left out of the other networks (at most %1 addresses or host names): </source>
        <translation>Omessi dalle altre reti (al massimo %1 indirizzi o nomi host): </translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>Tolvex user list</source>
        <translation>Elenco utenti Tolvex</translation>
    </message>
    <message>
        <source>Users panel</source>
        <translation>Pannello utenti</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Nome utente</translation>
    </message>
    <message>
        <source>Bottom panel</source>
        <translation>Pannello inferiore</translation>
    </message>
    <message>
        <source>The menu key opens the program menu; Escape minimizes to the tray</source>
        <translation>Il tasto Menu apre il menu del programma; Esc riduce nell&apos;area di notifica</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Canali</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Riduci a icona</translation>
    </message>
    <message>
        <source>User menu</source>
        <translation>Menu utente</translation>
    </message>
    <message>
        <source>Open chat window</source>
        <translation>Apri finestra chat</translation>
    </message>
    <message>
        <source>Show user IP</source>
        <translation>Mostra IP</translation>
    </message>
    <message>
        <source>Reload user list</source>
        <translation>Ricarica elenco</translation>
    </message>
    <message>
        <source>Program menu</source>
        <translation>Menu del programma</translation>
    </message>
    <message>
        <source>Restore Tolvex</source>
        <translation>Ripristina Tolvex</translation>
    </message>
    <message>
        <source>Configuration...</source>
        <translation>Configurazione...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Informazioni...</translation>
    </message>
    <message>
        <source>More free products...</source>
        <translation>Altri prodotti gratuiti...</translation>
    </message>
    <message>
        <source>Channel menu</source>
        <translation>Menu canale</translation>
    </message>
    <message>
        <source>Delete channel</source>
        <translation>Elimina canale</translation>
    </message>
    <message>
        <source>The host name &quot;%1&quot; of the other networks does not resolve. It is tried again every 30 seconds.</source>
        <translation>Il nome host &quot;%1&quot; delle altre reti non si risolve. Si riprova ogni 30 secondi.</translation>
    </message>
    <message>
        <source>User &quot;%1&quot; has IP %2</source>
        <translation>L&apos;utente &quot;%1&quot; ha l&apos;IP %2</translation>
    </message>
    <message>
        <source>Active channel</source>
        <translation>Canale attivo</translation>
    </message>
    <message>
        <source>Minimize or right click to open menu</source>
        <translation>Riduci, clic destro per il menu</translation>
    </message>
    <message>
        <source>, click to restore</source>
        <translation>, clic per ripristinare</translation>
    </message>
</context>
</TS>
