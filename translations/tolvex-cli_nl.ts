<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl">
<context>
    <name>CliMain</name>
    <message>
        <source>the network device %1 has no IPv4 address</source>
        <translation>het netwerkapparaat %1 heeft geen IPv4-adres</translation>
    </message>
    <message>
        <source>invalid interface &quot;%1&quot;: give the IPv4 address of a network interface of this computer or its device name (&quot;ip -4 addr&quot; lists them)</source>
        <translation>ongeldige interface &quot;%1&quot;: geef het IPv4-adres van een netwerkinterface van deze computer of de apparaatnaam (&quot;ip -4 addr&quot; toont ze)</translation>
    </message>
    <message>
        <source>Serverless LAN chat in a terminal: every copy on the network&apos;s port is a peer.

Prints &quot;joined: NAME&quot; and &quot;left: NAME&quot; as users come and go, the user list
when the selection changes (&quot;users: ann*, bob&quot;, * marks the selected users,
who receive what you type) and every message as a line: &quot;ann&gt; hello&quot; for one
received from ann, &quot;ann&lt; hello&quot; for one sent to ann; further lines of a
message are indented. Notices and errors go to standard error.

Reads standard input line by line. </source>
        <translation>Serverloze LAN-chat in een terminal: elke kopie op de poort van het netwerk is een peer.

Toont &quot;joined: NAME&quot; en &quot;left: NAME&quot; als gebruikers komen en gaan, de
gebruikerslijst als de selectie verandert (&quot;users: ann*, bob&quot;, * markeert de
geselecteerde gebruikers, die krijgen wat u typt) en elk bericht als een regel:
&quot;ann&gt; hallo&quot; voor een van ann ontvangen bericht, &quot;ann&lt; hallo&quot; voor een aan ann
verzonden bericht; verdere regels van een bericht springen in. Meldingen en fouten
gaan naar standaardfout.

Leest standaardinvoer regel voor regel. </translation>
    </message>
    <message>
        <source>The end of input, SIGINT, SIGTERM, SIGHUP and a closed standard output act like
/quit.

Defaults come from the desktop program&apos;s settings file; the options below hold
for this run only and are not saved. Channels heard from others and /channel
changes are saved as the desktop program saves them, and so is the list of other
networks that /reach changes.

Other subnets: a copy hears only its own broadcast domain. To reach the copies
on 192.168.2.x from 192.168.1.x, run here with --reach 192.168.2.255 and there
with --reach 192.168.1.255 (both sides need each other), or name single hosts.</source>
        <translation>Het einde van de invoer, SIGINT, SIGTERM, SIGHUP en een gesloten standaarduitvoer
werken als /quit.

Standaardwaarden komen uit het instellingenbestand van het bureaubladprogramma; de
opties hieronder gelden alleen voor deze run en worden niet opgeslagen. Kanalen die
van anderen gehoord zijn en wijzigingen met /channel worden opgeslagen zoals het
bureaubladprogramma dat doet, net als de lijst van andere netwerken die /reach
wijzigt.

Andere subnetten: een kopie hoort alleen het eigen broadcastdomein. Om de kopieën
op 192.168.2.x vanaf 192.168.1.x te bereiken, start u hier met --reach
192.168.2.255 en daar met --reach 192.168.1.255 (beide kanten hebben elkaar nodig),
of noemt u losse hosts.</translation>
    </message>
    <message>
        <source>User name to announce.</source>
        <translation>Gebruikersnaam om aan te kondigen.</translation>
    </message>
    <message>
        <source>Channel to join.</source>
        <translation>Kanaal om aan deel te nemen.</translation>
    </message>
    <message>
        <source>Own IPv4 address of the network interface to use, or its device name.</source>
        <translation>Eigen IPv4-adres van de te gebruiken netwerkinterface, of de apparaatnaam.</translation>
    </message>
    <message>
        <source>UDP port of the network, 1 to 65535 (default 5040).</source>
        <translation>UDP-poort van het netwerk, 1 tot 65535 (standaard 5040).</translation>
    </message>
    <message>
        <source>Settings file to use instead of the desktop program&apos;s.</source>
        <translation>Instellingenbestand in plaats van dat van het bureaubladprogramma.</translation>
    </message>
    <message>
        <source>Another network to send presence to, besides the local broadcast: its broadcast address (192.168.2.255) or a host (10.8.0.14, gw.example.org); repeatable, at most 64. The copies there need this network in their own lists too (--reach 192.168.1.255), or they drop you after 75 s.</source>
        <translation>Nog een netwerk om aanwezigheid naar te sturen, naast de lokale broadcast: het broadcastadres (192.168.2.255) of een host (10.8.0.14, gw.example.org); herhaalbaar, hoogstens 64. De kopieën daar moeten dit netwerk ook in hun lijst hebben (--reach 192.168.1.255), anders laten ze u na 75 s vallen.</translation>
    </message>
    <message>
        <source>Send one message and end: TEXT, or standard input when TEXT is absent or &quot;-&quot; (exit status 0 sent, 1 a recipient not found, 2 refused, 3 network unusable; see the manual page).</source>
        <translation>Eén bericht sturen en stoppen: TEKST, of standaardinvoer als TEKST ontbreekt of &quot;-&quot; is (afsluitstatus 0 verzonden, 1 ontvanger niet gevonden, 2 geweigerd, 3 netwerk onbruikbaar; zie de handleiding).</translation>
    </message>
    <message>
        <source>With --send: the recipients, by user name.</source>
        <translation>Met --send: de ontvangers, op gebruikersnaam.</translation>
    </message>
    <message>
        <source>With --send: every user who answers.</source>
        <translation>Met --send: elke gebruiker die antwoordt.</translation>
    </message>
    <message>
        <source>With --send: seconds to collect the answers (default 4; less once every recipient answered).</source>
        <translation>Met --send: seconden om antwoorden te verzamelen (standaard 4; minder zodra elke ontvanger antwoordde).</translation>
    </message>
    <message>
        <source>With --send: save the settings as the run leaves them (nothing is written otherwise).</source>
        <translation>Met --send: de instellingen opslaan zoals de run ze achterlaat (anders wordt niets geschreven).</translation>
    </message>
    <message>
        <source>With --send: the message (&quot;|&quot; starts a new line).</source>
        <translation>Met --send: het bericht (&quot;|&quot; begint een nieuwe regel).</translation>
    </message>
    <message>
        <source> (see --help)</source>
        <translation> (zie --help)</translation>
    </message>
    <message>
        <source>--%1 goes with --send</source>
        <translation>--%1 hoort bij --send</translation>
    </message>
    <message>
        <source>unexpected argument %1 (see --help)</source>
        <translation>onverwacht argument %1 (zie --help)</translation>
    </message>
    <message>
        <source>invalid port &quot;%1&quot;: a port is a number from 1 to 65535</source>
        <translation>ongeldige poort &quot;%1&quot;: een poort is een getal van 1 tot 65535</translation>
    </message>
    <message>
        <source>invalid --reach %1: %2</source>
        <translation>ongeldige --reach %1: %2</translation>
    </message>
    <message>
        <source>at most %1 --reach targets</source>
        <translation>hoogstens %1 --reach-doelen</translation>
    </message>
    <message>
        <source>--send needs the recipients: --to NAME[,NAME...] or --all</source>
        <translation>--send heeft de ontvangers nodig: --to NAME[,NAME...] of --all</translation>
    </message>
    <message>
        <source>--to names nobody</source>
        <translation>--to noemt niemand</translation>
    </message>
    <message>
        <source>invalid wait &quot;%1&quot;: give seconds from 0 to 3600</source>
        <translation>ongeldige wachttijd &quot;%1&quot;: geef 0 tot 3600 seconden</translation>
    </message>
    <message>
        <source>the message is one argument: put it in quotes, or give it on standard input</source>
        <translation>het bericht is één argument: zet het tussen aanhalingstekens of geef het via standaardinvoer</translation>
    </message>
    <message>
        <source>standard input cannot be read</source>
        <translation>standaardinvoer kan niet worden gelezen</translation>
    </message>
    <message>
        <source>no temporary folder for the settings</source>
        <translation>geen tijdelijke map voor de instellingen</translation>
    </message>
</context>
<context>
    <name>SendOnce</name>
    <message>
        <source>the text holds characters the network&apos;s code page (Windows-1252) cannot carry: %1; nothing was sent</source>
        <translation>de tekst bevat tekens die de codetabel van het netwerk (Windows-1252) niet kan dragen: %1; er is niets verzonden</translation>
    </message>
    <message>
        <source>the text is empty; nothing was sent</source>
        <translation>de tekst is leeg; er is niets verzonden</translation>
    </message>
    <message>
        <source>the text has %1 characters and one message holds at most %2; nothing was sent</source>
        <translation>de tekst heeft %1 tekens en een bericht bevat er hoogstens %2; er is niets verzonden</translation>
    </message>
    <message>
        <source>with its line breaks the text takes %1 bytes and one message carries at most %2; nothing was sent</source>
        <translation>met de regeleinden neemt de tekst %1 bytes in en een bericht draagt er hoogstens %2; er is niets verzonden</translation>
    </message>
    <message>
        <source>the user name is empty, and nobody answers a copy without one: give a name with --name; nothing was sent</source>
        <translation>de gebruikersnaam is leeg en niemand antwoordt een kopie zonder naam: geef er een met --name; er is niets verzonden</translation>
    </message>
    <message>
        <source>port %1 is held by another program on this computer (a Tolvex copy running here?), and the answers come to that port; nothing was sent, and the copy holding it was not disturbed. Send from that copy, or end it first</source>
        <translation>poort %1 is bezet door een ander programma op deze computer (een Tolvex-kopie die hier draait?), en de antwoorden komen op die poort; er is niets verzonden en de kopie die hem bezet is niet gestoord. Verstuur vanuit die kopie of sluit die eerst af</translation>
    </message>
    <message>
        <source>the network cannot be used; nothing was sent</source>
        <translation>het netwerk is niet bruikbaar; er is niets verzonden</translation>
    </message>
    <message>
        <source>the message could not be handed to the network for %1</source>
        <translation>het bericht voor %1 kon niet aan het netwerk worden gegeven</translation>
    </message>
    <message>
        <source>interrupted before the message left for everyone</source>
        <translation>onderbroken voordat het bericht naar iedereen vertrok</translation>
    </message>
    <message>
        <source>interrupted; nothing was sent</source>
        <translation>onderbroken; er is niets verzonden</translation>
    </message>
    <message>
        <source>nobody on the channel %1 answered; nothing was sent</source>
        <translation>niemand op kanaal %1 antwoordde; er is niets verzonden</translation>
    </message>
    <message>
        <source>not found on the channel %1: %2</source>
        <translation>niet gevonden op kanaal %1: %2</translation>
    </message>
</context>
<context>
    <name>TerminalFrontEnd</name>
    <message>
        <source>Commands:
  TEXT                 send TEXT to the selected users (a | starts a new line)
  //TEXT               send /TEXT
  /to NAME[,NAME...]   select these users
  /all                 select every user
  /users               list the users (* marks the selected ones)
  /channel NAME        change the active channel
  /channels            list the known channels (* marks the active one)
  /delete NAME         delete a channel from the list
  /reload              forget everybody and announce again
  /ip NAME             show the address of a user
  /reach [ADDR]        list the other networks presence goes to, or add one
  /reach -ADDR         remove one from that list
  /help                show these commands
  /quit                leave the network, save the settings and exit
</source>
        <translation>Opdrachten:
  TEXT                 TEXT naar de geselecteerde gebruikers sturen (| begint een nieuwe regel)
  //TEXT               /TEXT sturen
  /to NAME[,NAME...]   deze gebruikers selecteren
  /all                 alle gebruikers selecteren
  /users               de gebruikers tonen (* markeert de geselecteerde)
  /channel NAME        het actieve kanaal wijzigen
  /channels            de bekende kanalen tonen (* markeert het actieve)
  /delete NAME         een kanaal uit de lijst verwijderen
  /reload              iedereen vergeten en opnieuw aankondigen
  /ip NAME             het adres van een gebruiker tonen
  /reach [ADDR]        de andere netwerken voor aanwezigheid tonen, of er een toevoegen
  /reach -ADDR         er een uit die lijst verwijderen
  /help                deze opdrachten tonen
  /quit                het netwerk verlaten, de instellingen opslaan en stoppen
</translation>
    </message>
</context>
</TS>
