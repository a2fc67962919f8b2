<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>CliMain</name>
    <message>
        <source>the network device %1 has no IPv4 address</source>
        <translation>le périphérique réseau %1 n&apos;a pas d&apos;adresse IPv4</translation>
    </message>
    <message>
        <source>invalid interface &quot;%1&quot;: give the IPv4 address of a network interface of this computer or its device name (&quot;ip -4 addr&quot; lists them)</source>
        <translation>interface « %1 » invalide : indiquez l&apos;adresse IPv4 d&apos;une interface réseau de cet ordinateur ou son nom de périphérique (« ip -4 addr » les affiche)</translation>
    </message>
    <message>
        <source>Serverless LAN chat in a terminal: every copy on the network&apos;s port is a peer.

Prints &quot;joined: NAME&quot; and &quot;left: NAME&quot; as users come and go, the user list
when the selection changes (&quot;users: ann*, bob&quot;, * marks the selected users,
who receive what you type) and every message as a line: &quot;ann&gt; hello&quot; for one
received from ann, &quot;ann&lt; hello&quot; for one sent to ann; further lines of a
message are indented. Notices and errors go to standard error.

Reads standard input line by line. </source>
        <translation>Chat LAN sans serveur dans un terminal : chaque copie sur le port du réseau est un pair.

Affiche &quot;joined: NAME&quot; et &quot;left: NAME&quot; quand des utilisateurs arrivent et partent,
la liste des utilisateurs quand la sélection change (&quot;users: ann*, bob&quot;, * marque
les utilisateurs sélectionnés, qui reçoivent ce que vous tapez) et chaque message
sur une ligne : &quot;ann&gt; salut&quot; pour un message reçu d&apos;ann, &quot;ann&lt; salut&quot; pour un
message envoyé à ann ; les lignes suivantes d&apos;un message sont indentées. Les avis
et les erreurs vont sur la sortie d&apos;erreur.

Lit l&apos;entrée standard ligne par ligne. </translation>
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
        <translation>La fin de l&apos;entrée, SIGINT, SIGTERM, SIGHUP et une sortie standard fermée agissent
comme /quit.

Les valeurs par défaut viennent du fichier de réglages du programme de bureau ; les
options ci-dessous valent pour cette exécution seulement et ne sont pas enregistrées.
Les canaux entendus d&apos;autres copies et les changements de /channel sont enregistrés
comme le fait le programme de bureau, de même que la liste des autres réseaux que
/reach modifie.

Autres sous-réseaux : une copie n&apos;entend que son propre domaine de diffusion. Pour
joindre les copies de 192.168.2.x depuis 192.168.1.x, lancez ici avec --reach
192.168.2.255 et là-bas avec --reach 192.168.1.255 (chaque côté a besoin de l&apos;autre),
ou nommez des hôtes précis.</translation>
    </message>
    <message>
        <source>User name to announce.</source>
        <translation>Nom d&apos;utilisateur à annoncer.</translation>
    </message>
    <message>
        <source>Channel to join.</source>
        <translation>Canal à rejoindre.</translation>
    </message>
    <message>
        <source>Own IPv4 address of the network interface to use, or its device name.</source>
        <translation>Adresse IPv4 propre de l&apos;interface réseau à utiliser, ou son nom de périphérique.</translation>
    </message>
    <message>
        <source>UDP port of the network, 1 to 65535 (default 5040).</source>
        <translation>Port UDP du réseau, de 1 à 65535 (5040 par défaut).</translation>
    </message>
    <message>
        <source>Settings file to use instead of the desktop program&apos;s.</source>
        <translation>Fichier de réglages à utiliser au lieu de celui du programme de bureau.</translation>
    </message>
    <message>
        <source>Another network to send presence to, besides the local broadcast: its broadcast address (192.168.2.255) or a host (10.8.0.14, gw.example.org); repeatable, at most 64. The copies there need this network in their own lists too (--reach 192.168.1.255), or they drop you after 75 s.</source>
        <translation>Un autre réseau où envoyer la présence, en plus de la diffusion locale : son adresse de diffusion (192.168.2.255) ou un hôte (10.8.0.14, gw.example.org) ; répétable, 64 au plus. Les copies de là-bas doivent aussi avoir ce réseau dans leur liste (--reach 192.168.1.255), sinon elles vous oublient après 75 s.</translation>
    </message>
    <message>
        <source>Send one message and end: TEXT, or standard input when TEXT is absent or &quot;-&quot; (exit status 0 sent, 1 a recipient not found, 2 refused, 3 network unusable; see the manual page).</source>
        <translation>Envoyer un message et terminer : TEXTE, ou l&apos;entrée standard si TEXTE manque ou vaut « - » (code de sortie 0 envoyé, 1 destinataire introuvable, 2 refusé, 3 réseau inutilisable ; voir la page de manuel).</translation>
    </message>
    <message>
        <source>With --send: the recipients, by user name.</source>
        <translation>Avec --send : les destinataires, par nom d&apos;utilisateur.</translation>
    </message>
    <message>
        <source>With --send: every user who answers.</source>
        <translation>Avec --send : tout utilisateur qui répond.</translation>
    </message>
    <message>
        <source>With --send: seconds to collect the answers (default 4; less once every recipient answered).</source>
        <translation>Avec --send : secondes pour recueillir les réponses (4 par défaut ; moins dès que chaque destinataire a répondu).</translation>
    </message>
    <message>
        <source>With --send: save the settings as the run leaves them (nothing is written otherwise).</source>
        <translation>Avec --send : enregistrer les réglages tels que l&apos;exécution les laisse (sinon rien n&apos;est écrit).</translation>
    </message>
    <message>
        <source>With --send: the message (&quot;|&quot; starts a new line).</source>
        <translation>Avec --send : le message (« | » commence une nouvelle ligne).</translation>
    </message>
    <message>
        <source> (see --help)</source>
        <translation> (voir --help)</translation>
    </message>
    <message>
        <source>--%1 goes with --send</source>
        <translation>--%1 va avec --send</translation>
    </message>
    <message>
        <source>unexpected argument %1 (see --help)</source>
        <translation>argument inattendu %1 (voir --help)</translation>
    </message>
    <message>
        <source>invalid port &quot;%1&quot;: a port is a number from 1 to 65535</source>
        <translation>port « %1 » invalide : un port est un nombre de 1 à 65535</translation>
    </message>
    <message>
        <source>invalid --reach %1: %2</source>
        <translation>--reach %1 invalide : %2</translation>
    </message>
    <message>
        <source>at most %1 --reach targets</source>
        <translation>%1 cibles --reach au plus</translation>
    </message>
    <message>
        <source>--send needs the recipients: --to NAME[,NAME...] or --all</source>
        <translation>--send a besoin des destinataires : --to NAME[,NAME...] ou --all</translation>
    </message>
    <message>
        <source>--to names nobody</source>
        <translation>--to ne nomme personne</translation>
    </message>
    <message>
        <source>invalid wait &quot;%1&quot;: give seconds from 0 to 3600</source>
        <translation>attente « %1 » invalide : indiquez de 0 à 3600 secondes</translation>
    </message>
    <message>
        <source>the message is one argument: put it in quotes, or give it on standard input</source>
        <translation>le message est un seul argument : mettez-le entre guillemets, ou passez-le sur l&apos;entrée standard</translation>
    </message>
    <message>
        <source>standard input cannot be read</source>
        <translation>l&apos;entrée standard ne peut pas être lue</translation>
    </message>
    <message>
        <source>no temporary folder for the settings</source>
        <translation>aucun dossier temporaire pour les réglages</translation>
    </message>
</context>
<context>
    <name>SendOnce</name>
    <message>
        <source>the text holds characters the network&apos;s code page (Windows-1252) cannot carry: %1; nothing was sent</source>
        <translation>le texte contient des caractères que la page de code du réseau (Windows-1252) ne peut pas transmettre : %1 ; rien n&apos;a été envoyé</translation>
    </message>
    <message>
        <source>the text is empty; nothing was sent</source>
        <translation>le texte est vide ; rien n&apos;a été envoyé</translation>
    </message>
    <message>
        <source>the text has %1 characters and one message holds at most %2; nothing was sent</source>
        <translation>le texte fait %1 caractères et un message en contient au plus %2 ; rien n&apos;a été envoyé</translation>
    </message>
    <message>
        <source>with its line breaks the text takes %1 bytes and one message carries at most %2; nothing was sent</source>
        <translation>avec ses sauts de ligne le texte occupe %1 octets et un message en transporte au plus %2 ; rien n&apos;a été envoyé</translation>
    </message>
    <message>
        <source>the user name is empty, and nobody answers a copy without one: give a name with --name; nothing was sent</source>
        <translation>le nom d&apos;utilisateur est vide, et personne ne répond à une copie sans nom : donnez-en un avec --name ; rien n&apos;a été envoyé</translation>
    </message>
    <message>
        <source>port %1 is held by another program on this computer (a Tolvex copy running here?), and the answers come to that port; nothing was sent, and the copy holding it was not disturbed. Send from that copy, or end it first</source>
        <translation>le port %1 est pris par un autre programme sur cet ordinateur (une copie de Tolvex en cours ?), et les réponses arrivent sur ce port ; rien n&apos;a été envoyé, et la copie qui le détient n&apos;a pas été dérangée. Envoyez depuis cette copie, ou fermez-la d&apos;abord</translation>
    </message>
    <message>
        <source>the network cannot be used; nothing was sent</source>
        <translation>le réseau est inutilisable ; rien n&apos;a été envoyé</translation>
    </message>
    <message>
        <source>the message could not be handed to the network for %1</source>
        <translation>le message pour %1 n&apos;a pas pu être remis au réseau</translation>
    </message>
    <message>
        <source>interrupted before the message left for everyone</source>
        <translation>interrompu avant que le message soit parti pour tous</translation>
    </message>
    <message>
        <source>interrupted; nothing was sent</source>
        <translation>interrompu ; rien n&apos;a été envoyé</translation>
    </message>
    <message>
        <source>nobody on the channel %1 answered; nothing was sent</source>
        <translation>personne n&apos;a répondu sur le canal %1 ; rien n&apos;a été envoyé</translation>
    </message>
    <message>
        <source>not found on the channel %1: %2</source>
        <translation>introuvables sur le canal %1 : %2</translation>
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
        <translation>Commandes:
  TEXT                 envoyer TEXT aux utilisateurs sélectionnés (| commence une nouvelle ligne)
  //TEXT               envoyer /TEXT
  /to NAME[,NAME...]   sélectionner ces utilisateurs
  /all                 sélectionner tous les utilisateurs
  /users               lister les utilisateurs (* marque les sélectionnés)
  /channel NAME        changer de canal actif
  /channels            lister les canaux connus (* marque l&apos;actif)
  /delete NAME         supprimer un canal de la liste
  /reload              oublier tout le monde et s&apos;annoncer à nouveau
  /ip NAME             afficher l&apos;adresse d&apos;un utilisateur
  /reach [ADDR]        lister les autres réseaux où va la présence, ou en ajouter un
  /reach -ADDR         en retirer un de cette liste
  /help                afficher ces commandes
  /quit                quitter le réseau, enregistrer les réglages et terminer
</translation>
    </message>
</context>
</TS>
