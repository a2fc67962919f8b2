<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>CodePageGuard</name>
    <message>
        <source>Too long for one message: | counts twice</source>
        <translation>Longo demais para uma mensagem: | conta em dobro</translation>
    </message>
    <message>
        <source>Cannot be sent, left out: </source>
        <translation>Não pode ser enviado, omitido: </translation>
    </message>
</context>
<context>
    <name>MessagingEngine</name>
    <message>
        <source>Error: </source>
        <translation>Erro: </translation>
    </message>
    <message>
        <source>the network device &quot;%1&quot; has no IPv4 address</source>
        <translation>o dispositivo de rede &quot;%1&quot; não tem endereço IPv4</translation>
    </message>
    <message>
        <source>the interface &quot;%1&quot; is neither an IPv4 address nor a network device of this computer</source>
        <translation>a interface &quot;%1&quot; não é um endereço IPv4 nem um dispositivo de rede deste computador</translation>
    </message>
    <message>
        <source>the port &quot;%1&quot; is not a number from 1 to 65535; nothing is sent or received</source>
        <translation>a porta &quot;%1&quot; não é um número de 1 a 65535; nada é enviado nem recebido</translation>
    </message>
    <message>
        <source>%1; nothing is sent or received</source>
        <translation>%1; nada é enviado nem recebido</translation>
    </message>
    <message>
        <source>Network error<byte value="xd"/>
You do not have a local network IP.<byte value="xd"/>
The server cannot be started.</source>
        <translation>Erro de rede<byte value="xd"/>
Você não tem um IP de rede local.<byte value="xd"/>
O servidor não pode ser iniciado.</translation>
    </message>
    <message>
        <source>port %1 is already in use (another copy running?); this copy stays off line until the port is free</source>
        <translation>a porta %1 já está em uso (outra cópia em execução?); esta cópia fica off-line até a porta ficar livre</translation>
    </message>
    <message>
        <source>%1 (Code %2)</source>
        <translation>%1 (código %2)</translation>
    </message>
    <message>
        <source>Channel &quot;%1&quot; cannot be deleted.</source>
        <translation>O canal &quot;%1&quot; não pode ser excluído.</translation>
    </message>
    <message>
        <source>Channel &quot;%1&quot; will be deleted, continue?</source>
        <translation>O canal &quot;%1&quot; será excluído. Continuar?</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>The settings file %1 is too large to read (more than %2 MiB); it was left as it is</source>
        <translation>O arquivo de configurações %1 é grande demais para ler (mais de %2 MiB); ele foi deixado como estava</translation>
    </message>
    <message>
        <source>Unable to write the settings: no folder for them is known (neither XDG_CONFIG_HOME nor HOME names one)</source>
        <translation>Não é possível gravar as configurações: nenhuma pasta conhecida para elas (nem XDG_CONFIG_HOME nem HOME indicam uma)</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Não é possível gravar em %1</translation>
    </message>
</context>
<context>
    <name>TAboutForm</name>
    <message>
        <source>About...</source>
        <translation>Sobre...</translation>
    </message>
    <message>
        <source>Program icon</source>
        <translation>Ícone do programa</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
    <message>
        <source>Make a donation</source>
        <translation>Fazer uma doação</translation>
    </message>
    <message>
        <source>Support %1 today!</source>
        <translation>Apoie o %1 hoje!</translation>
    </message>
    <message>
        <source>Web page</source>
        <translation>Página web</translation>
    </message>
    <message>
        <source>Visit our home page</source>
        <translation>Visite nossa página</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>Send us your comments or suggestions</source>
        <translation>Envie-nos seus comentários ou sugestões</translation>
    </message>
    <message>
        <source>version 1.0 (build %1)</source>
        <translation>versão 1.0 (build %1)</translation>
    </message>
</context>
<context>
    <name>TChatForm</name>
    <message>
        <source>Transcript</source>
        <translation>Histórico</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Mensagem</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;.</source>
        <translation>Não é possível criar o arquivo &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Ocultar</translation>
    </message>
    <message>
        <source>Send message</source>
        <translation>Enviar mensagem</translation>
    </message>
    <message>
        <source>Resize window</source>
        <translation>Redimensionar janela</translation>
    </message>
    <message>
        <source>Copy to clipboard</source>
        <translation>Copiar para a área de transferência</translation>
    </message>
    <message>
        <source>Clear text</source>
        <translation>Limpar texto</translation>
    </message>
    <message>
        <source>Save to file (RTF)</source>
        <translation>Salvar em arquivo (RTF)</translation>
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
        <translation>Configuração</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Nome de usuário</translation>
    </message>
    <message>
        <source>(restore default)</source>
        <translation>(padrão)</translation>
    </message>
    <message>
        <source>Restore the default user name</source>
        <translation>Restaurar o nome de usuário padrão</translation>
    </message>
    <message>
        <source>Active interface</source>
        <translation>Interface ativa</translation>
    </message>
    <message>
        <source>Communication port</source>
        <translation>Porta de comunicação</translation>
    </message>
    <message>
        <source>UDP protocol</source>
        <translation>Protocolo UDP</translation>
    </message>
    <message>
        <source>Start automatically when I log in</source>
        <translation>Iniciar ao entrar na sessão</translation>
    </message>
    <message>
        <source>Enabled (delayed by 30&quot;)</source>
        <translation>Ativado (após 30&quot;)</translation>
    </message>
    <message>
        <source>Start automatically at log-on</source>
        <translation>Iniciar ao entrar na sessão</translation>
    </message>
    <message>
        <source>Add channels automatically</source>
        <translation>Adicionar canais automaticamente</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Ativado</translation>
    </message>
    <message>
        <source>Other networks</source>
        <translation>Outras redes</translation>
    </message>
    <message>
        <source>Broadcast addresses or hosts of other subnets, separated by blanks. They need this network in their lists too.</source>
        <translation>Broadcasts ou hosts de outras sub-redes, separados por espaços. Lá esta rede também deve constar.</translation>
    </message>
    <message>
        <source>Failed to set data for &apos;%1&apos;</source>
        <translation>Falha ao gravar os dados de &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Left out of the other networks (at most %1 addresses or host names): </source>
        <translation>Omitido das outras redes (no máximo %1 endereços ou nomes de host): </translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>Tolvex user list</source>
        <translation>Lista de usuários do Tolvex</translation>
    </message>
    <message>
        <source>Users panel</source>
        <translation>Painel de usuários</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Nome de usuário</translation>
    </message>
    <message>
        <source>Bottom panel</source>
        <translation>Painel inferior</translation>
    </message>
    <message>
        <source>The menu key opens the program menu; Escape minimizes to the tray</source>
        <translation>A tecla Menu abre o menu do programa; Esc minimiza para a bandeja</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Canais</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>User menu</source>
        <translation>Menu do usuário</translation>
    </message>
    <message>
        <source>Open chat window</source>
        <translation>Abrir janela de chat</translation>
    </message>
    <message>
        <source>Show user IP</source>
        <translation>Mostrar IP</translation>
    </message>
    <message>
        <source>Reload user list</source>
        <translation>Recarregar lista</translation>
    </message>
    <message>
        <source>Program menu</source>
        <translation>Menu do programa</translation>
    </message>
    <message>
        <source>Restore Tolvex</source>
        <translation>Restaurar Tolvex</translation>
    </message>
    <message>
        <source>Configuration...</source>
        <translation>Configuração...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Sobre...</translation>
    </message>
    <message>
        <source>More free products...</source>
        <translation>Mais produtos grátis...</translation>
    </message>
    <message>
        <source>Channel menu</source>
        <translation>Menu do canal</translation>
    </message>
    <message>
        <source>Delete channel</source>
        <translation>Excluir canal</translation>
    </message>
    <message>
        <source>The host name &quot;%1&quot; of the other networks does not resolve. It is tried again every 30 seconds.</source>
        <translation>O nome de host &quot;%1&quot; das outras redes não é resolvido. Nova tentativa a cada 30 segundos.</translation>
    </message>
    <message>
        <source>User &quot;%1&quot; has IP %2</source>
        <translation>O usuário &quot;%1&quot; tem o IP %2</translation>
    </message>
    <message>
        <source>Active channel</source>
        <translation>Canal ativo</translation>
    </message>
    <message>
        <source>Minimize or right click to open menu</source>
        <translation>Minimizar ou clique direito para abrir o menu</translation>
    </message>
    <message>
        <source>, click to restore</source>
        <translation>, clique para restaurar</translation>
    </message>
</context>
</TS>
