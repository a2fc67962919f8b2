<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
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
</TS>
