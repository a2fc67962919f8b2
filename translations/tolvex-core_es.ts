<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>MessagingEngine</name>
    <message>
        <source>Error: </source>
        <translation>Error: </translation>
    </message>
    <message>
        <source>the network device &quot;%1&quot; has no IPv4 address</source>
        <translation>el dispositivo de red &quot;%1&quot; no tiene dirección IPv4</translation>
    </message>
    <message>
        <source>the interface &quot;%1&quot; is neither an IPv4 address nor a network device of this computer</source>
        <translation>la interfaz &quot;%1&quot; no es una dirección IPv4 ni un dispositivo de red de este equipo</translation>
    </message>
    <message>
        <source>the port &quot;%1&quot; is not a number from 1 to 65535; nothing is sent or received</source>
        <translation>el puerto &quot;%1&quot; no es un número de 1 a 65535; no se envía ni se recibe nada</translation>
    </message>
    <message>
        <source>%1; nothing is sent or received</source>
        <translation>%1; no se envía ni se recibe nada</translation>
    </message>
    <message>
        <source>Network error<byte value="xd"/>
You do not have a local network IP.<byte value="xd"/>
The server cannot be started.</source>
        <translation>Error de red<byte value="xd"/>
No tiene una IP de red local.<byte value="xd"/>
No se puede iniciar el servidor.</translation>
    </message>
    <message>
        <source>port %1 is already in use (another copy running?); this copy stays off line until the port is free</source>
        <translation>el puerto %1 ya está en uso (¿otra copia en marcha?); esta copia queda desconectada hasta que el puerto quede libre</translation>
    </message>
    <message>
        <source>%1 (Code %2)</source>
        <translation>%1 (código %2)</translation>
    </message>
    <message>
        <source>Channel &quot;%1&quot; cannot be deleted.</source>
        <translation>El canal &quot;%1&quot; no se puede eliminar.</translation>
    </message>
    <message>
        <source>Channel &quot;%1&quot; will be deleted, continue?</source>
        <translation>El canal &quot;%1&quot; se eliminará. ¿Continuar?</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>The settings file %1 is too large to read (more than %2 MiB); it was left as it is</source>
        <translation>El archivo de ajustes %1 es demasiado grande para leerlo (más de %2 MiB); se dejó como estaba</translation>
    </message>
    <message>
        <source>Unable to write the settings: no folder for them is known (neither XDG_CONFIG_HOME nor HOME names one)</source>
        <translation>No se pueden escribir los ajustes: no se conoce ninguna carpeta para ellos (ni XDG_CONFIG_HOME ni HOME indican una)</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>No se puede escribir en %1</translation>
    </message>
</context>
</TS>
