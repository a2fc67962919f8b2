<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>CliMain</name>
    <message>
        <source>the network device %1 has no IPv4 address</source>
        <translation>el dispositivo de red %1 no tiene dirección IPv4</translation>
    </message>
    <message>
        <source>invalid interface &quot;%1&quot;: give the IPv4 address of a network interface of this computer or its device name (&quot;ip -4 addr&quot; lists them)</source>
        <translation>interfaz &quot;%1&quot; no válida: indique la dirección IPv4 de una interfaz de red de este equipo o su nombre de dispositivo (&quot;ip -4 addr&quot; las muestra)</translation>
    </message>
    <message>
        <source>Serverless LAN chat in a terminal: every copy on the network&apos;s port is a peer.

Prints &quot;joined: NAME&quot; and &quot;left: NAME&quot; as users come and go, the user list
when the selection changes (&quot;users: ann*, bob&quot;, * marks the selected users,
who receive what you type) and every message as a line: &quot;ann&gt; hello&quot; for one
received from ann, &quot;ann&lt; hello&quot; for one sent to ann; further lines of a
message are indented. Notices and errors go to standard error.

Reads standard input line by line. </source>
        <translation>Chat LAN sin servidor en un terminal: cada copia en el puerto de la red es un par.

Muestra &quot;joined: NAME&quot; y &quot;left: NAME&quot; cuando los usuarios llegan y se van, la
lista de usuarios cuando cambia la selección (&quot;users: ann*, bob&quot;, * marca a los
usuarios seleccionados, que reciben lo que escribe) y cada mensaje en una línea:
&quot;ann&gt; hola&quot; para uno recibido de ann, &quot;ann&lt; hola&quot; para uno enviado a ann; las
demás líneas de un mensaje van sangradas. Los avisos y errores van a la salida de
errores.

Lee la entrada estándar línea a línea. </translation>
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
        <translation>El fin de la entrada, SIGINT, SIGTERM, SIGHUP y una salida estándar cerrada actúan
como /quit.

Los valores por omisión vienen del archivo de ajustes del programa de escritorio; las
opciones de abajo valen solo para esta ejecución y no se guardan. Los canales oídos
de otros y los cambios con /channel se guardan como lo hace el programa de
escritorio, igual que la lista de otras redes que cambia /reach.

Otras subredes: una copia solo oye su propio dominio de difusión. Para llegar a las
copias de 192.168.2.x desde 192.168.1.x, ejecute aquí con --reach 192.168.2.255 y
allí con --reach 192.168.1.255 (cada lado necesita al otro), o nombre hosts sueltos.</translation>
    </message>
    <message>
        <source>User name to announce.</source>
        <translation>Nombre de usuario que se anuncia.</translation>
    </message>
    <message>
        <source>Channel to join.</source>
        <translation>Canal al que unirse.</translation>
    </message>
    <message>
        <source>Own IPv4 address of the network interface to use, or its device name.</source>
        <translation>Dirección IPv4 propia de la interfaz de red que se usa, o su nombre de dispositivo.</translation>
    </message>
    <message>
        <source>UDP port of the network, 1 to 65535 (default 5040).</source>
        <translation>Puerto UDP de la red, de 1 a 65535 (por omisión 5040).</translation>
    </message>
    <message>
        <source>Settings file to use instead of the desktop program&apos;s.</source>
        <translation>Archivo de ajustes que se usa en lugar del del programa de escritorio.</translation>
    </message>
    <message>
        <source>Another network to send presence to, besides the local broadcast: its broadcast address (192.168.2.255) or a host (10.8.0.14, gw.example.org); repeatable, at most 64. The copies there need this network in their own lists too (--reach 192.168.1.255), or they drop you after 75 s.</source>
        <translation>Otra red a la que enviar la presencia, además de la difusión local: su dirección de difusión (192.168.2.255) o un host (10.8.0.14, gw.example.org); repetible, como máximo 64. Las copias de allí también necesitan esta red en sus listas (--reach 192.168.1.255), o le borran tras 75 s.</translation>
    </message>
    <message>
        <source>Send one message and end: TEXT, or standard input when TEXT is absent or &quot;-&quot; (exit status 0 sent, 1 a recipient not found, 2 refused, 3 network unusable; see the manual page).</source>
        <translation>Enviar un mensaje y terminar: TEXTO, o la entrada estándar si falta TEXTO o es &quot;-&quot; (estado de salida 0 enviado, 1 destinatario no encontrado, 2 rechazado, 3 red inutilizable; véase la página de manual).</translation>
    </message>
    <message>
        <source>With --send: the recipients, by user name.</source>
        <translation>Con --send: los destinatarios, por nombre de usuario.</translation>
    </message>
    <message>
        <source>With --send: every user who answers.</source>
        <translation>Con --send: todos los usuarios que respondan.</translation>
    </message>
    <message>
        <source>With --send: seconds to collect the answers (default 4; less once every recipient answered).</source>
        <translation>Con --send: segundos para recoger las respuestas (por omisión 4; menos en cuanto todos los destinatarios respondan).</translation>
    </message>
    <message>
        <source>With --send: save the settings as the run leaves them (nothing is written otherwise).</source>
        <translation>Con --send: guardar los ajustes tal como los deja la ejecución (si no, no se escribe nada).</translation>
    </message>
    <message>
        <source>With --send: the message (&quot;|&quot; starts a new line).</source>
        <translation>Con --send: el mensaje (&quot;|&quot; empieza una línea nueva).</translation>
    </message>
    <message>
        <source> (see --help)</source>
        <translation> (véase --help)</translation>
    </message>
    <message>
        <source>--%1 goes with --send</source>
        <translation>--%1 va con --send</translation>
    </message>
    <message>
        <source>unexpected argument %1 (see --help)</source>
        <translation>argumento inesperado %1 (véase --help)</translation>
    </message>
    <message>
        <source>invalid port &quot;%1&quot;: a port is a number from 1 to 65535</source>
        <translation>puerto &quot;%1&quot; no válido: un puerto es un número de 1 a 65535</translation>
    </message>
    <message>
        <source>invalid --reach %1: %2</source>
        <translation>--reach %1 no válido: %2</translation>
    </message>
    <message>
        <source>at most %1 --reach targets</source>
        <translation>como máximo %1 destinos --reach</translation>
    </message>
    <message>
        <source>--send needs the recipients: --to NAME[,NAME...] or --all</source>
        <translation>--send necesita los destinatarios: --to NAME[,NAME...] o --all</translation>
    </message>
    <message>
        <source>--to names nobody</source>
        <translation>--to no nombra a nadie</translation>
    </message>
    <message>
        <source>invalid wait &quot;%1&quot;: give seconds from 0 to 3600</source>
        <translation>espera &quot;%1&quot; no válida: indique de 0 a 3600 segundos</translation>
    </message>
    <message>
        <source>the message is one argument: put it in quotes, or give it on standard input</source>
        <translation>el mensaje es un solo argumento: póngalo entre comillas o páselo por la entrada estándar</translation>
    </message>
    <message>
        <source>standard input cannot be read</source>
        <translation>no se puede leer la entrada estándar</translation>
    </message>
    <message>
        <source>no temporary folder for the settings</source>
        <translation>no hay carpeta temporal para los ajustes</translation>
    </message>
</context>
<context>
    <name>SendOnce</name>
    <message>
        <source>the text holds characters the network&apos;s code page (Windows-1252) cannot carry: %1; nothing was sent</source>
        <translation>el texto contiene caracteres que la página de códigos de la red (Windows-1252) no admite: %1; no se envió nada</translation>
    </message>
    <message>
        <source>the text is empty; nothing was sent</source>
        <translation>el texto está vacío; no se envió nada</translation>
    </message>
    <message>
        <source>the text has %1 characters and one message holds at most %2; nothing was sent</source>
        <translation>el texto tiene %1 caracteres y un mensaje admite como máximo %2; no se envió nada</translation>
    </message>
    <message>
        <source>with its line breaks the text takes %1 bytes and one message carries at most %2; nothing was sent</source>
        <translation>con sus saltos de línea el texto ocupa %1 bytes y un mensaje lleva como máximo %2; no se envió nada</translation>
    </message>
    <message>
        <source>the user name is empty, and nobody answers a copy without one: give a name with --name; nothing was sent</source>
        <translation>el nombre de usuario está vacío, y nadie responde a una copia sin él: indique uno con --name; no se envió nada</translation>
    </message>
    <message>
        <source>port %1 is held by another program on this computer (a Tolvex copy running here?), and the answers come to that port; nothing was sent, and the copy holding it was not disturbed. Send from that copy, or end it first</source>
        <translation>el puerto %1 lo ocupa otro programa en este equipo (¿una copia de Tolvex en marcha?), y las respuestas llegan a ese puerto; no se envió nada, y la copia que lo ocupa no se vio afectada. Envíe desde esa copia o ciérrela primero</translation>
    </message>
    <message>
        <source>the network cannot be used; nothing was sent</source>
        <translation>no se puede usar la red; no se envió nada</translation>
    </message>
    <message>
        <source>the message could not be handed to the network for %1</source>
        <translation>no se pudo entregar a la red el mensaje para %1</translation>
    </message>
    <message>
        <source>interrupted before the message left for everyone</source>
        <translation>interrumpido antes de que el mensaje saliera para todos</translation>
    </message>
    <message>
        <source>interrupted; nothing was sent</source>
        <translation>interrumpido; no se envió nada</translation>
    </message>
    <message>
        <source>nobody on the channel %1 answered; nothing was sent</source>
        <translation>nadie respondió en el canal %1; no se envió nada</translation>
    </message>
    <message>
        <source>not found on the channel %1: %2</source>
        <translation>no encontrados en el canal %1: %2</translation>
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
        <translation>Órdenes:
  TEXT                 enviar TEXT a los usuarios seleccionados (| empieza una línea nueva)
  //TEXT               enviar /TEXT
  /to NAME[,NAME...]   seleccionar estos usuarios
  /all                 seleccionar a todos los usuarios
  /users               listar los usuarios (* marca los seleccionados)
  /channel NAME        cambiar el canal activo
  /channels            listar los canales conocidos (* marca el activo)
  /delete NAME         eliminar un canal de la lista
  /reload              olvidar a todos y anunciarse de nuevo
  /ip NAME             mostrar la dirección de un usuario
  /reach [ADDR]        listar las otras redes a las que va la presencia, o añadir una
  /reach -ADDR         quitar una de esa lista
  /help                mostrar estas órdenes
  /quit                salir de la red, guardar los ajustes y terminar
</translation>
    </message>
</context>
</TS>
