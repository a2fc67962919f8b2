<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>MessagingEngine</name>
    <message>
        <source>Error: </source>
        <translation>Errore: </translation>
    </message>
    <message>
        <source>the network device &quot;%1&quot; has no IPv4 address</source>
        <translation>il dispositivo di rete &quot;%1&quot; non ha un indirizzo IPv4</translation>
    </message>
    <message>
        <source>the interface &quot;%1&quot; is neither an IPv4 address nor a network device of this computer</source>
        <translation>l&apos;interfaccia &quot;%1&quot; non è né un indirizzo IPv4 né un dispositivo di rete di questo computer</translation>
    </message>
    <message>
        <source>the port &quot;%1&quot; is not a number from 1 to 65535; nothing is sent or received</source>
        <translation>la porta &quot;%1&quot; non è un numero da 1 a 65535; non si invia né si riceve nulla</translation>
    </message>
    <message>
        <source>%1; nothing is sent or received</source>
        <translation>%1; non si invia né si riceve nulla</translation>
    </message>
    <message>
        <source>Network error<byte value="xd"/>
You do not have a local network IP.<byte value="xd"/>
The server cannot be started.</source>
        <translation>Errore di rete<byte value="xd"/>
Non hai un IP di rete locale.<byte value="xd"/>
Impossibile avviare il server.</translation>
    </message>
    <message>
        <source>port %1 is already in use (another copy running?); this copy stays off line until the port is free</source>
        <translation>la porta %1 è già in uso (un&apos;altra copia in esecuzione?); questa copia resta offline finché la porta non si libera</translation>
    </message>
    <message>
        <source>%1 (Code %2)</source>
        <translation>%1 (codice %2)</translation>
    </message>
    <message>
        <source>Channel &quot;%1&quot; cannot be deleted.</source>
        <translation>Il canale &quot;%1&quot; non può essere eliminato.</translation>
    </message>
    <message>
        <source>Channel &quot;%1&quot; will be deleted, continue?</source>
        <translation>Il canale &quot;%1&quot; verrà eliminato. Continuare?</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>The settings file %1 is too large to read (more than %2 MiB); it was left as it is</source>
        <translation>Il file di impostazioni %1 è troppo grande da leggere (più di %2 MiB); è stato lasciato com&apos;era</translation>
    </message>
    <message>
        <source>Unable to write the settings: no folder for them is known (neither XDG_CONFIG_HOME nor HOME names one)</source>
        <translation>Impossibile scrivere le impostazioni: nessuna cartella nota (né XDG_CONFIG_HOME né HOME ne indicano una)</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Impossibile scrivere in %1</translation>
    </message>
</context>
</TS>
