<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>MessagingEngine</name>
    <message>
        <source>Error: </source>
        <translation>Fehler: </translation>
    </message>
    <message>
        <source>the network device &quot;%1&quot; has no IPv4 address</source>
        <translation>das Netzwerkgerät &quot;%1&quot; hat keine IPv4-Adresse</translation>
    </message>
    <message>
        <source>the interface &quot;%1&quot; is neither an IPv4 address nor a network device of this computer</source>
        <translation>die Schnittstelle &quot;%1&quot; ist weder eine IPv4-Adresse noch ein Netzwerkgerät dieses Rechners</translation>
    </message>
    <message>
        <source>the port &quot;%1&quot; is not a number from 1 to 65535; nothing is sent or received</source>
        <translation>der Port &quot;%1&quot; ist keine Zahl von 1 bis 65535; nichts wird gesendet oder empfangen</translation>
    </message>
    <message>
        <source>%1; nothing is sent or received</source>
        <translation>%1; nichts wird gesendet oder empfangen</translation>
    </message>
    <message>
        <source>Network error<byte value="xd"/>
You do not have a local network IP.<byte value="xd"/>
The server cannot be started.</source>
        <translation>Netzwerkfehler<byte value="xd"/>
Sie haben keine IP-Adresse im lokalen Netz.<byte value="xd"/>
Der Server kann nicht gestartet werden.</translation>
    </message>
    <message>
        <source>port %1 is already in use (another copy running?); this copy stays off line until the port is free</source>
        <translation>Port %1 ist schon belegt (läuft eine andere Kopie?); diese Kopie bleibt offline, bis der Port frei ist</translation>
    </message>
    <message>
        <source>%1 (Code %2)</source>
        <translation>%1 (Code %2)</translation>
    </message>
    <message>
        <source>Channel &quot;%1&quot; cannot be deleted.</source>
        <translation>Der Kanal &quot;%1&quot; kann nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>Channel &quot;%1&quot; will be deleted, continue?</source>
        <translation>Der Kanal &quot;%1&quot; wird gelöscht. Fortfahren?</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>The settings file %1 is too large to read (more than %2 MiB); it was left as it is</source>
        <translation>Die Einstellungsdatei %1 ist zu groß zum Lesen (mehr als %2 MiB); sie wurde unverändert gelassen</translation>
    </message>
    <message>
        <source>Unable to write the settings: no folder for them is known (neither XDG_CONFIG_HOME nor HOME names one)</source>
        <translation>Die Einstellungen können nicht geschrieben werden: kein Ordner dafür bekannt (weder XDG_CONFIG_HOME noch HOME nennt einen)</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
</context>
</TS>
