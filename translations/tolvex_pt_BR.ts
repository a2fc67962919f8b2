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
