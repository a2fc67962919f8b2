<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl">
<context>
    <name>CodePageGuard</name>
    <message>
        <source>Too long for one message: | counts twice</source>
        <translation>Te lang voor één bericht: | telt dubbel</translation>
    </message>
    <message>
        <source>Cannot be sent, left out: </source>
        <translation>Kan niet verzonden, weggelaten: </translation>
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
        <translation>Programmapictogram</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Sluiten</translation>
    </message>
    <message>
        <source>Make a donation</source>
        <translation>Doneren</translation>
    </message>
    <message>
        <source>Support %1 today!</source>
        <translation>Steun %1 vandaag nog!</translation>
    </message>
    <message>
        <source>Web page</source>
        <translation>Website</translation>
    </message>
    <message>
        <source>Visit our home page</source>
        <translation>Bezoek onze website</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>Send us your comments or suggestions</source>
        <translation>Stuur ons uw opmerkingen of suggesties</translation>
    </message>
    <message>
        <source>version 1.0 (build %1)</source>
        <translation>versie 1.0 (build %1)</translation>
    </message>
</context>
<context>
    <name>TChatForm</name>
    <message>
        <source>Transcript</source>
        <translation>Gesprek</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Bericht</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;.</source>
        <translation>Kan bestand &quot;%1&quot; niet aanmaken.</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimaliseren</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Verbergen</translation>
    </message>
    <message>
        <source>Send message</source>
        <translation>Bericht verzenden</translation>
    </message>
    <message>
        <source>Resize window</source>
        <translation>Venstergrootte wijzigen</translation>
    </message>
    <message>
        <source>Copy to clipboard</source>
        <translation>Naar klembord kopiëren</translation>
    </message>
    <message>
        <source>Clear text</source>
        <translation>Tekst wissen</translation>
    </message>
    <message>
        <source>Save to file (RTF)</source>
        <translation>Opslaan als bestand (RTF)</translation>
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
        <translation>Instellingen</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Gebruikersnaam</translation>
    </message>
    <message>
        <source>(restore default)</source>
        <translation>(standaard)</translation>
    </message>
    <message>
        <source>Restore the default user name</source>
        <translation>Standaardgebruikersnaam herstellen</translation>
    </message>
    <message>
        <source>Active interface</source>
        <translation>Actieve interface</translation>
    </message>
    <message>
        <source>Communication port</source>
        <translation>Communicatiepoort</translation>
    </message>
    <message>
        <source>UDP protocol</source>
        <translation>UDP-protocol</translation>
    </message>
    <message>
        <source>Start automatically when I log in</source>
        <translation>Automatisch starten bij aanmelden</translation>
    </message>
    <message>
        <source>Enabled (delayed by 30&quot;)</source>
        <translation>Aan (30&quot; vertraagd)</translation>
    </message>
    <message>
        <source>Start automatically at log-on</source>
        <translation>Automatisch starten bij aanmelden</translation>
    </message>
    <message>
        <source>Add channels automatically</source>
        <translation>Kanalen automatisch toevoegen</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Aan</translation>
    </message>
    <message>
        <source>Other networks</source>
        <translation>Andere netwerken</translation>
    </message>
    <message>
        <source>Broadcast addresses or hosts of other subnets, separated by blanks. They need this network in their lists too.</source>
        <translation>Broadcastadressen of hosts van andere subnetten, met spaties gescheiden. Daar moet dit netwerk ook staan.</translation>
    </message>
    <message>
        <source>Failed to set data for &apos;%1&apos;</source>
        <translation>Gegevens voor &apos;%1&apos; konden niet worden ingesteld</translation>
    </message>
    <message>
        <source>Left out of the other networks (at most %1 addresses or host names): </source>
        <translation>Weggelaten uit de andere netwerken (hoogstens %1 adressen of hostnamen): </translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>Tolvex user list</source>
        <translation>Tolvex-gebruikerslijst</translation>
    </message>
    <message>
        <source>Users panel</source>
        <translation>Gebruikerspaneel</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Gebruikersnaam</translation>
    </message>
    <message>
        <source>Bottom panel</source>
        <translation>Onderste paneel</translation>
    </message>
    <message>
        <source>The menu key opens the program menu; Escape minimizes to the tray</source>
        <translation>De menutoets opent het programmamenu; Escape minimaliseert naar het systeemvak</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Kanalen</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimaliseren</translation>
    </message>
    <message>
        <source>User menu</source>
        <translation>Gebruikersmenu</translation>
    </message>
    <message>
        <source>Open chat window</source>
        <translation>Chatvenster openen</translation>
    </message>
    <message>
        <source>Show user IP</source>
        <translation>IP tonen</translation>
    </message>
    <message>
        <source>Reload user list</source>
        <translation>Lijst herladen</translation>
    </message>
    <message>
        <source>Program menu</source>
        <translation>Programmamenu</translation>
    </message>
    <message>
        <source>Restore Tolvex</source>
        <translation>Tolvex herstellen</translation>
    </message>
    <message>
        <source>Configuration...</source>
        <translation>Instellingen...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Afsluiten</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Info...</translation>
    </message>
    <message>
        <source>More free products...</source>
        <translation>Meer gratis producten...</translation>
    </message>
    <message>
        <source>Channel menu</source>
        <translation>Kanaalmenu</translation>
    </message>
    <message>
        <source>Delete channel</source>
        <translation>Kanaal verwijderen</translation>
    </message>
    <message>
        <source>The host name &quot;%1&quot; of the other networks does not resolve. It is tried again every 30 seconds.</source>
        <translation>De hostnaam &quot;%1&quot; van de andere netwerken wordt niet gevonden. Elke 30 seconden wordt het opnieuw geprobeerd.</translation>
    </message>
    <message>
        <source>User &quot;%1&quot; has IP %2</source>
        <translation>Gebruiker &quot;%1&quot; heeft IP %2</translation>
    </message>
    <message>
        <source>Active channel</source>
        <translation>Actief kanaal</translation>
    </message>
    <message>
        <source>Minimize or right click to open menu</source>
        <translation>Minimaliseren, rechtsklik opent het menu</translation>
    </message>
    <message>
        <source>, click to restore</source>
        <translation>, klik om te herstellen</translation>
    </message>
</context>
</TS>
