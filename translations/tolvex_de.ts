<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CodePageGuard</name>
    <message>
        <source>Too long for one message: | counts twice</source>
        <translation>Zu lang für eine Nachricht: | zählt doppelt</translation>
    </message>
    <message>
        <source>Cannot be sent, left out: </source>
        <translation>Nicht sendbar, weggelassen: </translation>
    </message>
</context>
<context>
    <name>TAboutForm</name>
    <message>
        <source>About...</source>
        <translation>Info...</translation>
    </message>
    <message>
        <source>Program icon</source>
        <translation>Programmsymbol</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Make a donation</source>
        <translation>Spenden</translation>
    </message>
    <message>
        <source>Support %1 today!</source>
        <translation>Unterstützen Sie %1 noch heute!</translation>
    </message>
    <message>
        <source>Web page</source>
        <translation>Webseite</translation>
    </message>
    <message>
        <source>Visit our home page</source>
        <translation>Besuchen Sie unsere Homepage</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>Send us your comments or suggestions</source>
        <translation>Schreiben Sie uns Ihre Meinung oder Vorschläge</translation>
    </message>
    <message>
        <source>version 1.0 (build %1)</source>
        <translation>Version 1.0 (Build %1)</translation>
    </message>
</context>
<context>
    <name>TChatForm</name>
    <message>
        <source>Transcript</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;.</source>
        <translation>Die Datei &quot;%1&quot; kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Ausblenden</translation>
    </message>
    <message>
        <source>Send message</source>
        <translation>Nachricht senden</translation>
    </message>
    <message>
        <source>Resize window</source>
        <translation>Fenstergröße ändern</translation>
    </message>
    <message>
        <source>Copy to clipboard</source>
        <translation>In Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>Clear text</source>
        <translation>Text löschen</translation>
    </message>
    <message>
        <source>Save to file (RTF)</source>
        <translation>Als Datei speichern (RTF)</translation>
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
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>(restore default)</source>
        <translation>(Standard)</translation>
    </message>
    <message>
        <source>Restore the default user name</source>
        <translation>Standard-Benutzernamen wiederherstellen</translation>
    </message>
    <message>
        <source>Active interface</source>
        <translation>Aktive Schnittstelle</translation>
    </message>
    <message>
        <source>Communication port</source>
        <translation>Kommunikationsport</translation>
    </message>
    <message>
        <source>UDP protocol</source>
        <translation>UDP-Protokoll</translation>
    </message>
    <message>
        <source>Start automatically when I log in</source>
        <translation>Beim Anmelden automatisch starten</translation>
    </message>
    <message>
        <source>Enabled (delayed by 30&quot;)</source>
        <translation>Ein (30&quot; verzögert)</translation>
    </message>
    <message>
        <source>Start automatically at log-on</source>
        <translation>Beim Anmelden automatisch starten</translation>
    </message>
    <message>
        <source>Add channels automatically</source>
        <translation>Kanäle automatisch hinzufügen</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Other networks</source>
        <translation>Andere Netze</translation>
    </message>
    <message>
        <source>Broadcast addresses or hosts of other subnets, separated by blanks. They need this network in their lists too.</source>
        <translation>Broadcast-Adressen oder Hosts anderer Subnetze, mit Leerzeichen getrennt. Sie brauchen auch dieses Netz.</translation>
    </message>
    <message>
        <source>Failed to set data for &apos;%1&apos;</source>
        <translation>Daten für &apos;%1&apos; konnten nicht gesetzt werden</translation>
    </message>
    <message>
        <source>Left out of the other networks (at most %1 addresses or host names): </source>
        <translation>Bei den anderen Netzen weggelassen (höchstens %1 Adressen oder Hostnamen): </translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>Tolvex user list</source>
        <translation>Tolvex-Benutzerliste</translation>
    </message>
    <message>
        <source>Users panel</source>
        <translation>Benutzerbereich</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Bottom panel</source>
        <translation>Unterer Bereich</translation>
    </message>
    <message>
        <source>The menu key opens the program menu; Escape minimizes to the tray</source>
        <translation>Die Menütaste öffnet das Programmmenü; Escape minimiert in den Infobereich</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Kanäle</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>User menu</source>
        <translation>Benutzermenü</translation>
    </message>
    <message>
        <source>Open chat window</source>
        <translation>Chatfenster öffnen</translation>
    </message>
    <message>
        <source>Show user IP</source>
        <translation>IP anzeigen</translation>
    </message>
    <message>
        <source>Reload user list</source>
        <translation>Liste neu laden</translation>
    </message>
    <message>
        <source>Program menu</source>
        <translation>Programmmenü</translation>
    </message>
    <message>
        <source>Restore Tolvex</source>
        <translation>Tolvex zeigen</translation>
    </message>
    <message>
        <source>Configuration...</source>
        <translation>Einstellungen...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Info...</translation>
    </message>
    <message>
        <source>More free products...</source>
        <translation>Weitere Gratisprodukte...</translation>
    </message>
    <message>
        <source>Channel menu</source>
        <translation>Kanalmenü</translation>
    </message>
    <message>
        <source>Delete channel</source>
        <translation>Kanal löschen</translation>
    </message>
    <message>
        <source>The host name &quot;%1&quot; of the other networks does not resolve. It is tried again every 30 seconds.</source>
        <translation>Der Hostname &quot;%1&quot; der anderen Netze lässt sich nicht auflösen. Alle 30 Sekunden wird es erneut versucht.</translation>
    </message>
    <message>
        <source>User &quot;%1&quot; has IP %2</source>
        <translation>Benutzer &quot;%1&quot; hat die IP %2</translation>
    </message>
    <message>
        <source>Active channel</source>
        <translation>Aktiver Kanal</translation>
    </message>
    <message>
        <source>Minimize or right click to open menu</source>
        <translation>Minimieren, Rechtsklick öffnet das Menü</translation>
    </message>
    <message>
        <source>, click to restore</source>
        <translation>, zum Anzeigen klicken</translation>
    </message>
</context>
</TS>
