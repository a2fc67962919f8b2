<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CliMain</name>
    <message>
        <source>the network device %1 has no IPv4 address</source>
        <translation>das Netzwerkgerät %1 hat keine IPv4-Adresse</translation>
    </message>
    <message>
        <source>invalid interface &quot;%1&quot;: give the IPv4 address of a network interface of this computer or its device name (&quot;ip -4 addr&quot; lists them)</source>
        <translation>ungültige Schnittstelle &quot;%1&quot;: geben Sie die IPv4-Adresse einer Netzwerkschnittstelle dieses Rechners oder ihren Gerätenamen an (&quot;ip -4 addr&quot; listet sie auf)</translation>
    </message>
    <message>
        <source>Serverless LAN chat in a terminal: every copy on the network&apos;s port is a peer.

Prints &quot;joined: NAME&quot; and &quot;left: NAME&quot; as users come and go, the user list
when the selection changes (&quot;users: ann*, bob&quot;, * marks the selected users,
who receive what you type) and every message as a line: &quot;ann&gt; hello&quot; for one
received from ann, &quot;ann&lt; hello&quot; for one sent to ann; further lines of a
message are indented. Notices and errors go to standard error.

Reads standard input line by line. </source>
        <translation>Serverloser LAN-Chat im Terminal: jede Kopie am Port des Netzes ist ein Teilnehmer.

Gibt &quot;joined: NAME&quot; und &quot;left: NAME&quot; aus, wenn Benutzer kommen und gehen, die
Benutzerliste, wenn sich die Auswahl ändert (&quot;users: ann*, bob&quot;, * markiert die
ausgewählten Benutzer, die erhalten, was Sie tippen) und jede Nachricht als Zeile:
&quot;ann&gt; hallo&quot; für eine von ann empfangene, &quot;ann&lt; hallo&quot; für eine an ann gesendete;
weitere Zeilen einer Nachricht sind eingerückt. Hinweise und Fehler gehen auf die
Standardfehlerausgabe.

Liest die Standardeingabe Zeile für Zeile. </translation>
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
        <translation>Das Ende der Eingabe, SIGINT, SIGTERM, SIGHUP und eine geschlossene Standardausgabe
wirken wie /quit.

Die Vorgaben stammen aus der Einstellungsdatei des Desktop-Programms; die Optionen
unten gelten nur für diesen Lauf und werden nicht gespeichert. Von anderen gehörte
Kanäle und Änderungen mit /channel werden gespeichert, wie es das Desktop-Programm
tut, ebenso die Liste anderer Netze, die /reach ändert.

Andere Subnetze: eine Kopie hört nur ihre eigene Broadcast-Domäne. Um die Kopien
in 192.168.2.x von 192.168.1.x aus zu erreichen, hier mit --reach 192.168.2.255
und dort mit --reach 192.168.1.255 starten (beide Seiten brauchen einander) oder
einzelne Hosts nennen.</translation>
    </message>
    <message>
        <source>User name to announce.</source>
        <translation>Bekanntzugebender Benutzername.</translation>
    </message>
    <message>
        <source>Channel to join.</source>
        <translation>Zu betretender Kanal.</translation>
    </message>
    <message>
        <source>Own IPv4 address of the network interface to use, or its device name.</source>
        <translation>Eigene IPv4-Adresse der zu nutzenden Netzwerkschnittstelle oder ihr Gerätename.</translation>
    </message>
    <message>
        <source>UDP port of the network, 1 to 65535 (default 5040).</source>
        <translation>UDP-Port des Netzes, 1 bis 65535 (Standard 5040).</translation>
    </message>
    <message>
        <source>Settings file to use instead of the desktop program&apos;s.</source>
        <translation>Einstellungsdatei statt der des Desktop-Programms.</translation>
    </message>
    <message>
        <source>Another network to send presence to, besides the local broadcast: its broadcast address (192.168.2.255) or a host (10.8.0.14, gw.example.org); repeatable, at most 64. The copies there need this network in their own lists too (--reach 192.168.1.255), or they drop you after 75 s.</source>
        <translation>Ein weiteres Netz, an das die Anwesenheit geht, neben dem lokalen Broadcast: seine Broadcast-Adresse (192.168.2.255) oder ein Host (10.8.0.14, gw.example.org); wiederholbar, höchstens 64. Die Kopien dort brauchen dieses Netz auch in ihren Listen (--reach 192.168.1.255), sonst streichen sie Sie nach 75 s.</translation>
    </message>
    <message>
        <source>Send one message and end: TEXT, or standard input when TEXT is absent or &quot;-&quot; (exit status 0 sent, 1 a recipient not found, 2 refused, 3 network unusable; see the manual page).</source>
        <translation>Eine Nachricht senden und enden: TEXT, oder die Standardeingabe, wenn TEXT fehlt oder &quot;-&quot; ist (Exit-Status 0 gesendet, 1 ein Empfänger nicht gefunden, 2 abgelehnt, 3 Netz unbenutzbar; siehe Handbuchseite).</translation>
    </message>
    <message>
        <source>With --send: the recipients, by user name.</source>
        <translation>Mit --send: die Empfänger, nach Benutzername.</translation>
    </message>
    <message>
        <source>With --send: every user who answers.</source>
        <translation>Mit --send: jeder Benutzer, der antwortet.</translation>
    </message>
    <message>
        <source>With --send: seconds to collect the answers (default 4; less once every recipient answered).</source>
        <translation>Mit --send: Sekunden zum Sammeln der Antworten (Standard 4; weniger, sobald jeder Empfänger geantwortet hat).</translation>
    </message>
    <message>
        <source>With --send: save the settings as the run leaves them (nothing is written otherwise).</source>
        <translation>Mit --send: die Einstellungen so speichern, wie der Lauf sie hinterlässt (sonst wird nichts geschrieben).</translation>
    </message>
    <message>
        <source>With --send: the message (&quot;|&quot; starts a new line).</source>
        <translation>Mit --send: die Nachricht (&quot;|&quot; beginnt eine neue Zeile).</translation>
    </message>
    <message>
        <source> (see --help)</source>
        <translation> (siehe --help)</translation>
    </message>
    <message>
        <source>--%1 goes with --send</source>
        <translation>--%1 gehört zu --send</translation>
    </message>
    <message>
        <source>unexpected argument %1 (see --help)</source>
        <translation>unerwartetes Argument %1 (siehe --help)</translation>
    </message>
    <message>
        <source>invalid port &quot;%1&quot;: a port is a number from 1 to 65535</source>
        <translation>ungültiger Port &quot;%1&quot;: ein Port ist eine Zahl von 1 bis 65535</translation>
    </message>
    <message>
        <source>invalid --reach %1: %2</source>
        <translation>ungültiges --reach %1: %2</translation>
    </message>
    <message>
        <source>at most %1 --reach targets</source>
        <translation>höchstens %1 --reach-Ziele</translation>
    </message>
    <message>
        <source>--send needs the recipients: --to NAME[,NAME...] or --all</source>
        <translation>--send braucht die Empfänger: --to NAME[,NAME...] oder --all</translation>
    </message>
    <message>
        <source>--to names nobody</source>
        <translation>--to nennt niemanden</translation>
    </message>
    <message>
        <source>invalid wait &quot;%1&quot;: give seconds from 0 to 3600</source>
        <translation>ungültige Wartezeit &quot;%1&quot;: Sekunden von 0 bis 3600 angeben</translation>
    </message>
    <message>
        <source>the message is one argument: put it in quotes, or give it on standard input</source>
        <translation>die Nachricht ist ein Argument: setzen Sie sie in Anführungszeichen oder geben Sie sie über die Standardeingabe</translation>
    </message>
    <message>
        <source>standard input cannot be read</source>
        <translation>die Standardeingabe kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>no temporary folder for the settings</source>
        <translation>kein temporärer Ordner für die Einstellungen</translation>
    </message>
</context>
<context>
    <name>SendOnce</name>
    <message>
        <source>the text holds characters the network&apos;s code page (Windows-1252) cannot carry: %1; nothing was sent</source>
        <translation>der Text enthält Zeichen, die die Codepage des Netzes (Windows-1252) nicht tragen kann: %1; nichts wurde gesendet</translation>
    </message>
    <message>
        <source>the text is empty; nothing was sent</source>
        <translation>der Text ist leer; nichts wurde gesendet</translation>
    </message>
    <message>
        <source>the text has %1 characters and one message holds at most %2; nothing was sent</source>
        <translation>der Text hat %1 Zeichen und eine Nachricht fasst höchstens %2; nichts wurde gesendet</translation>
    </message>
    <message>
        <source>with its line breaks the text takes %1 bytes and one message carries at most %2; nothing was sent</source>
        <translation>mit seinen Zeilenumbrüchen belegt der Text %1 Bytes und eine Nachricht trägt höchstens %2; nichts wurde gesendet</translation>
    </message>
    <message>
        <source>the user name is empty, and nobody answers a copy without one: give a name with --name; nothing was sent</source>
        <translation>der Benutzername ist leer, und einer Kopie ohne Namen antwortet niemand: geben Sie mit --name einen an; nichts wurde gesendet</translation>
    </message>
    <message>
        <source>port %1 is held by another program on this computer (a Tolvex copy running here?), and the answers come to that port; nothing was sent, and the copy holding it was not disturbed. Send from that copy, or end it first</source>
        <translation>Port %1 ist von einem anderen Programm auf diesem Rechner belegt (eine hier laufende Tolvex-Kopie?), und die Antworten kommen an diesen Port; nichts wurde gesendet, und die Kopie, die ihn hält, wurde nicht gestört. Senden Sie von dieser Kopie aus oder beenden Sie sie zuerst</translation>
    </message>
    <message>
        <source>the network cannot be used; nothing was sent</source>
        <translation>das Netz kann nicht benutzt werden; nichts wurde gesendet</translation>
    </message>
    <message>
        <source>the message could not be handed to the network for %1</source>
        <translation>die Nachricht an %1 konnte nicht an das Netz übergeben werden</translation>
    </message>
    <message>
        <source>interrupted before the message left for everyone</source>
        <translation>unterbrochen, bevor die Nachricht an alle hinausging</translation>
    </message>
    <message>
        <source>interrupted; nothing was sent</source>
        <translation>unterbrochen; nichts wurde gesendet</translation>
    </message>
    <message>
        <source>nobody on the channel %1 answered; nothing was sent</source>
        <translation>niemand im Kanal %1 hat geantwortet; nichts wurde gesendet</translation>
    </message>
    <message>
        <source>not found on the channel %1: %2</source>
        <translation>nicht gefunden im Kanal %1: %2</translation>
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
        <translation>Befehle:
  TEXT                 TEXT an die ausgewählten Benutzer senden (| beginnt eine neue Zeile)
  //TEXT               /TEXT senden
  /to NAME[,NAME...]   diese Benutzer auswählen
  /all                 alle Benutzer auswählen
  /users               die Benutzer auflisten (* markiert die ausgewählten)
  /channel NAME        den aktiven Kanal wechseln
  /channels            die bekannten Kanäle auflisten (* markiert den aktiven)
  /delete NAME         einen Kanal aus der Liste löschen
  /reload              alle vergessen und neu ankündigen
  /ip NAME             die Adresse eines Benutzers zeigen
  /reach [ADDR]        die anderen Netze der Anwesenheit auflisten oder eins hinzufügen
  /reach -ADDR         eins aus dieser Liste entfernen
  /help                diese Befehle zeigen
  /quit                das Netz verlassen, die Einstellungen speichern und enden
</translation>
    </message>
</context>
</TS>
