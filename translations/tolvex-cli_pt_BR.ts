<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>CliMain</name>
    <message>
        <source>the network device %1 has no IPv4 address</source>
        <translation>o dispositivo de rede %1 não tem endereço IPv4</translation>
    </message>
    <message>
        <source>invalid interface &quot;%1&quot;: give the IPv4 address of a network interface of this computer or its device name (&quot;ip -4 addr&quot; lists them)</source>
        <translation>interface &quot;%1&quot; inválida: informe o endereço IPv4 de uma interface de rede deste computador ou o nome do dispositivo (&quot;ip -4 addr&quot; lista-as)</translation>
    </message>
    <message>
        <source>Serverless LAN chat in a terminal: every copy on the network&apos;s port is a peer.

Prints &quot;joined: NAME&quot; and &quot;left: NAME&quot; as users come and go, the user list
when the selection changes (&quot;users: ann*, bob&quot;, * marks the selected users,
who receive what you type) and every message as a line: &quot;ann&gt; hello&quot; for one
received from ann, &quot;ann&lt; hello&quot; for one sent to ann; further lines of a
message are indented. Notices and errors go to standard error.

Reads standard input line by line. </source>
        <translation>Chat de LAN sem servidor no terminal: cada cópia na porta da rede é um par.

Mostra &quot;joined: NAME&quot; e &quot;left: NAME&quot; quando usuários entram e saem, a lista de
usuários quando a seleção muda (&quot;users: ann*, bob&quot;, * marca os usuários
selecionados, que recebem o que você digita) e cada mensagem como uma linha:
&quot;ann&gt; olá&quot; para uma recebida de ann, &quot;ann&lt; olá&quot; para uma enviada a ann; as
demais linhas de uma mensagem ficam recuadas. Avisos e erros vão para a saída de
erro padrão.

Lê a entrada padrão linha por linha. </translation>
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
        <translation>O fim da entrada, SIGINT, SIGTERM, SIGHUP e uma saída padrão fechada agem como
/quit.

Os padrões vêm do arquivo de configurações do programa de desktop; as opções abaixo
valem só para esta execução e não são salvas. Canais ouvidos de outros e mudanças
com /channel são salvos como o programa de desktop faz, assim como a lista de
outras redes que /reach altera.

Outras sub-redes: uma cópia só ouve seu próprio domínio de broadcast. Para alcançar
as cópias em 192.168.2.x a partir de 192.168.1.x, execute aqui com --reach
192.168.2.255 e lá com --reach 192.168.1.255 (os dois lados precisam um do outro),
ou indique hosts isolados.</translation>
    </message>
    <message>
        <source>User name to announce.</source>
        <translation>Nome de usuário a anunciar.</translation>
    </message>
    <message>
        <source>Channel to join.</source>
        <translation>Canal em que entrar.</translation>
    </message>
    <message>
        <source>Own IPv4 address of the network interface to use, or its device name.</source>
        <translation>Endereço IPv4 próprio da interface de rede a usar, ou o nome do dispositivo.</translation>
    </message>
    <message>
        <source>UDP port of the network, 1 to 65535 (default 5040).</source>
        <translation>Porta UDP da rede, de 1 a 65535 (padrão 5040).</translation>
    </message>
    <message>
        <source>Settings file to use instead of the desktop program&apos;s.</source>
        <translation>Arquivo de configurações a usar em vez do do programa de desktop.</translation>
    </message>
    <message>
        <source>Another network to send presence to, besides the local broadcast: its broadcast address (192.168.2.255) or a host (10.8.0.14, gw.example.org); repeatable, at most 64. The copies there need this network in their own lists too (--reach 192.168.1.255), or they drop you after 75 s.</source>
        <translation>Outra rede para onde enviar a presença, além do broadcast local: seu endereço de broadcast (192.168.2.255) ou um host (10.8.0.14, gw.example.org); repetível, no máximo 64. As cópias de lá também precisam desta rede em suas listas (--reach 192.168.1.255), senão removem você após 75 s.</translation>
    </message>
    <message>
        <source>Send one message and end: TEXT, or standard input when TEXT is absent or &quot;-&quot; (exit status 0 sent, 1 a recipient not found, 2 refused, 3 network unusable; see the manual page).</source>
        <translation>Enviar uma mensagem e terminar: TEXTO, ou a entrada padrão quando TEXTO falta ou é &quot;-&quot; (status de saída 0 enviado, 1 destinatário não encontrado, 2 recusado, 3 rede inutilizável; veja a página de manual).</translation>
    </message>
    <message>
        <source>With --send: the recipients, by user name.</source>
        <translation>Com --send: os destinatários, por nome de usuário.</translation>
    </message>
    <message>
        <source>With --send: every user who answers.</source>
        <translation>Com --send: todo usuário que responder.</translation>
    </message>
    <message>
        <source>With --send: seconds to collect the answers (default 4; less once every recipient answered).</source>
        <translation>Com --send: segundos para coletar as respostas (padrão 4; menos quando todos os destinatários responderem).</translation>
    </message>
    <message>
        <source>With --send: save the settings as the run leaves them (nothing is written otherwise).</source>
        <translation>Com --send: salvar as configurações como a execução as deixa (caso contrário nada é gravado).</translation>
    </message>
    <message>
        <source>With --send: the message (&quot;|&quot; starts a new line).</source>
        <translation>Com --send: a mensagem (&quot;|&quot; inicia uma nova linha).</translation>
    </message>
    <message>
        <source> (see --help)</source>
        <translation> (veja --help)</translation>
    </message>
    <message>
        <source>--%1 goes with --send</source>
        <translation>--%1 acompanha --send</translation>
    </message>
    <message>
        <source>unexpected argument %1 (see --help)</source>
        <translation>argumento inesperado %1 (veja --help)</translation>
    </message>
    <message>
        <source>invalid port &quot;%1&quot;: a port is a number from 1 to 65535</source>
        <translation>porta &quot;%1&quot; inválida: uma porta é um número de 1 a 65535</translation>
    </message>
    <message>
        <source>invalid --reach %1: %2</source>
        <translation>--reach %1 inválido: %2</translation>
    </message>
    <message>
        <source>at most %1 --reach targets</source>
        <translation>no máximo %1 destinos --reach</translation>
    </message>
    <message>
        <source>--send needs the recipients: --to NAME[,NAME...] or --all</source>
        <translation>--send precisa dos destinatários: --to NAME[,NAME...] ou --all</translation>
    </message>
    <message>
        <source>--to names nobody</source>
        <translation>--to não nomeia ninguém</translation>
    </message>
    <message>
        <source>invalid wait &quot;%1&quot;: give seconds from 0 to 3600</source>
        <translation>espera &quot;%1&quot; inválida: informe de 0 a 3600 segundos</translation>
    </message>
    <message>
        <source>the message is one argument: put it in quotes, or give it on standard input</source>
        <translation>a mensagem é um único argumento: coloque-a entre aspas ou passe-a pela entrada padrão</translation>
    </message>
    <message>
        <source>standard input cannot be read</source>
        <translation>a entrada padrão não pode ser lida</translation>
    </message>
    <message>
        <source>no temporary folder for the settings</source>
        <translation>nenhuma pasta temporária para as configurações</translation>
    </message>
</context>
<context>
    <name>SendOnce</name>
    <message>
        <source>the text holds characters the network&apos;s code page (Windows-1252) cannot carry: %1; nothing was sent</source>
        <translation>o texto contém caracteres que a página de código da rede (Windows-1252) não suporta: %1; nada foi enviado</translation>
    </message>
    <message>
        <source>the text is empty; nothing was sent</source>
        <translation>o texto está vazio; nada foi enviado</translation>
    </message>
    <message>
        <source>the text has %1 characters and one message holds at most %2; nothing was sent</source>
        <translation>o texto tem %1 caracteres e uma mensagem comporta no máximo %2; nada foi enviado</translation>
    </message>
    <message>
        <source>with its line breaks the text takes %1 bytes and one message carries at most %2; nothing was sent</source>
        <translation>com suas quebras de linha o texto ocupa %1 bytes e uma mensagem leva no máximo %2; nada foi enviado</translation>
    </message>
    <message>
        <source>the user name is empty, and nobody answers a copy without one: give a name with --name; nothing was sent</source>
        <translation>o nome de usuário está vazio, e ninguém responde a uma cópia sem nome: informe um com --name; nada foi enviado</translation>
    </message>
    <message>
        <source>port %1 is held by another program on this computer (a Tolvex copy running here?), and the answers come to that port; nothing was sent, and the copy holding it was not disturbed. Send from that copy, or end it first</source>
        <translation>a porta %1 está ocupada por outro programa neste computador (uma cópia do Tolvex em execução?), e as respostas chegam a essa porta; nada foi enviado, e a cópia que a ocupa não foi afetada. Envie a partir dessa cópia ou encerre-a antes</translation>
    </message>
    <message>
        <source>the network cannot be used; nothing was sent</source>
        <translation>a rede não pode ser usada; nada foi enviado</translation>
    </message>
    <message>
        <source>the message could not be handed to the network for %1</source>
        <translation>não foi possível entregar à rede a mensagem para %1</translation>
    </message>
    <message>
        <source>interrupted before the message left for everyone</source>
        <translation>interrompido antes de a mensagem sair para todos</translation>
    </message>
    <message>
        <source>interrupted; nothing was sent</source>
        <translation>interrompido; nada foi enviado</translation>
    </message>
    <message>
        <source>nobody on the channel %1 answered; nothing was sent</source>
        <translation>ninguém respondeu no canal %1; nada foi enviado</translation>
    </message>
    <message>
        <source>not found on the channel %1: %2</source>
        <translation>não encontrados no canal %1: %2</translation>
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
        <translation>Comandos:
  TEXT                 enviar TEXT aos usuários selecionados (| inicia uma nova linha)
  //TEXT               enviar /TEXT
  /to NAME[,NAME...]   selecionar estes usuários
  /all                 selecionar todos os usuários
  /users               listar os usuários (* marca os selecionados)
  /channel NAME        mudar o canal ativo
  /channels            listar os canais conhecidos (* marca o ativo)
  /delete NAME         excluir um canal da lista
  /reload              esquecer todos e anunciar-se de novo
  /ip NAME             mostrar o endereço de um usuário
  /reach [ADDR]        listar as outras redes para onde vai a presença, ou adicionar uma
  /reach -ADDR         remover uma dessa lista
  /help                mostrar estes comandos
  /quit                sair da rede, salvar as configurações e terminar
</translation>
    </message>
</context>
</TS>
