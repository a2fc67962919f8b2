<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>CliMain</name>
    <message>
        <source>the network device %1 has no IPv4 address</source>
        <translation>il dispositivo di rete %1 non ha un indirizzo IPv4</translation>
    </message>
    <message>
        <source>invalid interface &quot;%1&quot;: give the IPv4 address of a network interface of this computer or its device name (&quot;ip -4 addr&quot; lists them)</source>
        <translation>interfaccia &quot;%1&quot; non valida: indicare l&apos;indirizzo IPv4 di un&apos;interfaccia di rete di questo computer o il nome del dispositivo (&quot;ip -4 addr&quot; le elenca)</translation>
    </message>
    <message>
        <source>Serverless LAN chat in a terminal: every copy on the network&apos;s port is a peer.

Prints &quot;joined: NAME&quot; and &quot;left: NAME&quot; as users come and go, the user list
when the selection changes (&quot;users: ann*, bob&quot;, * marks the selected users,
who receive what you type) and every message as a line: &quot;ann&gt; hello&quot; for one
received from ann, &quot;ann&lt; hello&quot; for one sent to ann; further lines of a
message are indented. Notices and errors go to standard error.

Reads standard input line by line. </source>
        <translation>Chat LAN senza server in un terminale: ogni copia sulla porta della rete è un nodo.

Stampa &quot;joined: NAME&quot; e &quot;left: NAME&quot; quando gli utenti arrivano e se ne vanno,
l&apos;elenco utenti quando cambia la selezione (&quot;users: ann*, bob&quot;, * indica gli
utenti selezionati, che ricevono ciò che scrivi) e ogni messaggio come una riga:
&quot;ann&gt; ciao&quot; per uno ricevuto da ann, &quot;ann&lt; ciao&quot; per uno inviato ad ann; le
altre righe di un messaggio sono rientrate. Avvisi ed errori vanno sullo
standard error.

Legge lo standard input riga per riga. </translation>
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
        <translation>La fine dell&apos;input, SIGINT, SIGTERM, SIGHUP e uno standard output chiuso valgono
come /quit.

I valori predefiniti vengono dal file di impostazioni del programma desktop; le
opzioni qui sotto valgono solo per questa esecuzione e non vengono salvate. I canali
sentiti da altri e le modifiche con /channel si salvano come fa il programma
desktop, così come l&apos;elenco delle altre reti che /reach modifica.

Altre sottoreti: una copia sente solo il proprio dominio di broadcast. Per
raggiungere le copie su 192.168.2.x da 192.168.1.x, avvia qui con --reach
192.168.2.255 e là con --reach 192.168.1.255 (ogni lato ha bisogno dell&apos;altro),
oppure indica singoli host.</translation>
    </message>
    <message>
        <source>User name to announce.</source>
        <translation>Nome utente da annunciare.</translation>
    </message>
    <message>
        <source>Channel to join.</source>
        <translation>Canale a cui unirsi.</translation>
    </message>
    <message>
        <source>Own IPv4 address of the network interface to use, or its device name.</source>
        <translation>Indirizzo IPv4 proprio dell&apos;interfaccia di rete da usare, o il nome del dispositivo.</translation>
    </message>
    <message>
        <source>UDP port of the network, 1 to 65535 (default 5040).</source>
        <translation>Porta UDP della rete, da 1 a 65535 (predefinita 5040).</translation>
    </message>
    <message>
        <source>Settings file to use instead of the desktop program&apos;s.</source>
        <translation>File di impostazioni da usare al posto di quello del programma desktop.</translation>
    </message>
    <message>
        <source>Another network to send presence to, besides the local broadcast: its broadcast address (192.168.2.255) or a host (10.8.0.14, gw.example.org); repeatable, at most 64. The copies there need this network in their own lists too (--reach 192.168.1.255), or they drop you after 75 s.</source>
        <translation>Un&apos;altra rete a cui inviare la presenza, oltre al broadcast locale: il suo indirizzo broadcast (192.168.2.255) o un host (10.8.0.14, gw.example.org); ripetibile, al massimo 64. Anche le copie di là devono avere questa rete nei loro elenchi (--reach 192.168.1.255), altrimenti ti tolgono dopo 75 s.</translation>
    </message>
    <message>
        <source>Send one message and end: TEXT, or standard input when TEXT is absent or &quot;-&quot; (exit status 0 sent, 1 a recipient not found, 2 refused, 3 network unusable; see the manual page).</source>
        <translation>Invia un messaggio e termina: TESTO, o lo standard input se TESTO manca o è &quot;-&quot; (stato di uscita 0 inviato, 1 destinatario non trovato, 2 rifiutato, 3 rete inutilizzabile; vedere la pagina di manuale).</translation>
    </message>
    <message>
        <source>With --send: the recipients, by user name.</source>
        <translation>Con --send: i destinatari, per nome utente.</translation>
    </message>
    <message>
        <source>With --send: every user who answers.</source>
        <translation>Con --send: ogni utente che risponde.</translation>
    </message>
    <message>
        <source>With --send: seconds to collect the answers (default 4; less once every recipient answered).</source>
        <translation>Con --send: secondi per raccogliere le risposte (predefinito 4; meno quando tutti i destinatari hanno risposto).</translation>
    </message>
    <message>
        <source>With --send: save the settings as the run leaves them (nothing is written otherwise).</source>
        <translation>Con --send: salva le impostazioni come le lascia l&apos;esecuzione (altrimenti non si scrive nulla).</translation>
    </message>
    <message>
        <source>With --send: the message (&quot;|&quot; starts a new line).</source>
        <translation>Con --send: il messaggio (&quot;|&quot; inizia una nuova riga).</translation>
    </message>
    <message>
        <source> (see --help)</source>
        <translation> (vedere --help)</translation>
    </message>
    <message>
        <source>--%1 goes with --send</source>
        <translation>--%1 va con --send</translation>
    </message>
    <message>
        <source>unexpected argument %1 (see --help)</source>
        <translation>argomento inatteso %1 (vedere --help)</translation>
    </message>
    <message>
        <source>invalid port &quot;%1&quot;: a port is a number from 1 to 65535</source>
        <translation>porta &quot;%1&quot; non valida: una porta è un numero da 1 a 65535</translation>
    </message>
    <message>
        <source>invalid --reach %1: %2</source>
        <translation>--reach %1 non valido: %2</translation>
    </message>
    <message>
        <source>at most %1 --reach targets</source>
        <translation>al massimo %1 destinazioni --reach</translation>
    </message>
    <message>
        <source>--send needs the recipients: --to NAME[,NAME...] or --all</source>
        <translation>--send richiede i destinatari: --to NAME[,NAME...] o --all</translation>
    </message>
    <message>
        <source>--to names nobody</source>
        <translation>--to non nomina nessuno</translation>
    </message>
    <message>
        <source>invalid wait &quot;%1&quot;: give seconds from 0 to 3600</source>
        <translation>attesa &quot;%1&quot; non valida: indicare da 0 a 3600 secondi</translation>
    </message>
    <message>
        <source>the message is one argument: put it in quotes, or give it on standard input</source>
        <translation>il messaggio è un solo argomento: mettilo tra virgolette o passalo sullo standard input</translation>
    </message>
    <message>
        <source>standard input cannot be read</source>
        <translation>impossibile leggere lo standard input</translation>
    </message>
    <message>
        <source>no temporary folder for the settings</source>
        <translation>nessuna cartella temporanea per le impostazioni</translation>
    </message>
</context>
<context>
    <name>SendOnce</name>
    <message>
        <source>the text holds characters the network&apos;s code page (Windows-1252) cannot carry: %1; nothing was sent</source>
        <translation>il testo contiene caratteri che la code page della rete (Windows-1252) non supporta: %1; non è stato inviato nulla</translation>
    </message>
    <message>
        <source>the text is empty; nothing was sent</source>
        <translation>il testo è vuoto; non è stato inviato nulla</translation>
    </message>
    <message>
        <source>the text has %1 characters and one message holds at most %2; nothing was sent</source>
        <translation>il testo ha %1 caratteri e un messaggio ne contiene al massimo %2; non è stato inviato nulla</translation>
    </message>
    <message>
        <source>with its line breaks the text takes %1 bytes and one message carries at most %2; nothing was sent</source>
        <translation>con le sue interruzioni di riga il testo occupa %1 byte e un messaggio ne porta al massimo %2; non è stato inviato nulla</translation>
    </message>
    <message>
        <source>the user name is empty, and nobody answers a copy without one: give a name with --name; nothing was sent</source>
        <translation>il nome utente è vuoto e nessuno risponde a una copia senza nome: indicane uno con --name; non è stato inviato nulla</translation>
    </message>
    <message>
        <source>port %1 is held by another program on this computer (a Tolvex copy running here?), and the answers come to that port; nothing was sent, and the copy holding it was not disturbed. Send from that copy, or end it first</source>
        <translation>la porta %1 è occupata da un altro programma su questo computer (una copia di Tolvex in esecuzione?), e le risposte arrivano a quella porta; non è stato inviato nulla e la copia che la occupa non è stata disturbata. Invia da quella copia o chiudila prima</translation>
    </message>
    <message>
        <source>the network cannot be used; nothing was sent</source>
        <translation>la rete non è utilizzabile; non è stato inviato nulla</translation>
    </message>
    <message>
        <source>the message could not be handed to the network for %1</source>
        <translation>non è stato possibile consegnare alla rete il messaggio per %1</translation>
    </message>
    <message>
        <source>interrupted before the message left for everyone</source>
        <translation>interrotto prima che il messaggio partisse per tutti</translation>
    </message>
    <message>
        <source>interrupted; nothing was sent</source>
        <translation>interrotto; non è stato inviato nulla</translation>
    </message>
    <message>
        <source>nobody on the channel %1 answered; nothing was sent</source>
        <translation>nessuno ha risposto sul canale %1; non è stato inviato nulla</translation>
    </message>
    <message>
        <source>not found on the channel %1: %2</source>
        <translation>non trovati sul canale %1: %2</translation>
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
        <translation>Comandi:
  TEXT                 invia TEXT agli utenti selezionati (| inizia una nuova riga)
  //TEXT               invia /TEXT
  /to NAME[,NAME...]   seleziona questi utenti
  /all                 seleziona tutti gli utenti
  /users               elenca gli utenti (* indica i selezionati)
  /channel NAME        cambia il canale attivo
  /channels            elenca i canali noti (* indica quello attivo)
  /delete NAME         elimina un canale dall&apos;elenco
  /reload              dimentica tutti e annunciati di nuovo
  /ip NAME             mostra l&apos;indirizzo di un utente
  /reach [ADDR]        elenca le altre reti a cui va la presenza, o aggiungine una
  /reach -ADDR         togline una da quell&apos;elenco
  /help                mostra questi comandi
  /quit                lascia la rete, salva le impostazioni ed esci
</translation>
    </message>
</context>
</TS>
