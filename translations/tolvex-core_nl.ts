<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl">
<context>
    <name>MessagingEngine</name>
    <message>
        <source>Error: </source>
        <translation>Fout: </translation>
    </message>
    <message>
        <source>the network device &quot;%1&quot; has no IPv4 address</source>
        <translation>het netwerkapparaat &quot;%1&quot; heeft geen IPv4-adres</translation>
    </message>
    <message>
        <source>the interface &quot;%1&quot; is neither an IPv4 address nor a network device of this computer</source>
        <translation>de interface &quot;%1&quot; is geen IPv4-adres en geen netwerkapparaat van deze computer</translation>
    </message>
    <message>
        <source>the port &quot;%1&quot; is not a number from 1 to 65535; nothing is sent or received</source>
        <translation>de poort &quot;%1&quot; is geen getal van 1 tot 65535; er wordt niets verzonden of ontvangen</translation>
    </message>
    <message>
        <source>%1; nothing is sent or received</source>
        <translation>%1; er wordt niets verzonden of ontvangen</translation>
    </message>
    <message>
        <source>Network error<byte value="xd"/>
You do not have a local network IP.<byte value="xd"/>
The server cannot be started.</source>
        <translation>Netwerkfout<byte value="xd"/>
U hebt geen IP-adres in het lokale netwerk.<byte value="xd"/>
De server kan niet worden gestart.</translation>
    </message>
    <message>
        <source>port %1 is already in use (another copy running?); this copy stays off line until the port is free</source>
        <translation>poort %1 is al in gebruik (draait er nog een kopie?); deze kopie blijft offline tot de poort vrij is</translation>
    </message>
    <message>
        <source>%1 (Code %2)</source>
        <translation>%1 (code %2)</translation>
    </message>
    <message>
        <source>Channel &quot;%1&quot; cannot be deleted.</source>
        <translation>Kanaal &quot;%1&quot; kan niet worden verwijderd.</translation>
    </message>
    <message>
        <source>Channel &quot;%1&quot; will be deleted, continue?</source>
        <translation>Kanaal &quot;%1&quot; wordt verwijderd. Doorgaan?</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>The settings file %1 is too large to read (more than %2 MiB); it was left as it is</source>
        <translation>Het instellingenbestand %1 is te groot om te lezen (meer dan %2 MiB); het is gelaten zoals het was</translation>
    </message>
    <message>
        <source>Unable to write the settings: no folder for them is known (neither XDG_CONFIG_HOME nor HOME names one)</source>
        <translation>Kan de instellingen niet schrijven: er is geen map voor bekend (XDG_CONFIG_HOME noch HOME noemt er een)</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Kan niet schrijven naar %1</translation>
    </message>
</context>
</TS>
