<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>CodePageGuard</name>
    <message>
        <source>Too long for one message: | counts twice</source>
        <translation>Demasiado largo para un mensaje: | cuenta doble</translation>
    </message>
    <message>
        <source>Cannot be sent, left out: </source>
        <translation>No se puede enviar, omitido: </translation>
    </message>
</context>
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
<context>
    <name>TAboutForm</name>
    <message>
        <source>About...</source>
        <translation>Acerca de...</translation>
    </message>
    <message>
        <source>Program icon</source>
        <translation>Icono del programa</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Make a donation</source>
        <translation>Hacer un donativo</translation>
    </message>
    <message>
        <source>Support %1 today!</source>
        <translation>¡Apoye %1 hoy mismo!</translation>
    </message>
    <message>
        <source>Web page</source>
        <translation>Página web</translation>
    </message>
    <message>
        <source>Visit our home page</source>
        <translation>Visite nuestra página</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>Correo</translation>
    </message>
    <message>
        <source>Send us your comments or suggestions</source>
        <translation>Envíenos sus comentarios o sugerencias</translation>
    </message>
    <message>
        <source>version 1.0 (build %1)</source>
        <translation>versión 1.0 (compilación %1)</translation>
    </message>
</context>
<context>
    <name>TChatForm</name>
    <message>
        <source>Transcript</source>
        <translation>Historial</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Mensaje</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;.</source>
        <translation>No se puede crear el archivo &quot;%1&quot;.</translation>
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
        <translation>Enviar mensaje</translation>
    </message>
    <message>
        <source>Resize window</source>
        <translation>Cambiar tamaño de la ventana</translation>
    </message>
    <message>
        <source>Copy to clipboard</source>
        <translation>Copiar al portapapeles</translation>
    </message>
    <message>
        <source>Clear text</source>
        <translation>Borrar texto</translation>
    </message>
    <message>
        <source>Save to file (RTF)</source>
        <translation>Guardar en archivo (RTF)</translation>
    </message>
    <message>
        <source>Rich Text Format (*.rtf *.RTF)</source>
        <translation>Formato de texto enriquecido (*.rtf *.RTF)</translation>
    </message>
</context>
<context>
    <name>TConfigForm</name>
    <message>
        <source>Configuration</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Nombre de usuario</translation>
    </message>
    <message>
        <source>(restore default)</source>
        <translation>(por defecto)</translation>
    </message>
    <message>
        <source>Restore the default user name</source>
        <translation>Restablecer el nombre de usuario predeterminado</translation>
    </message>
    <message>
        <source>Active interface</source>
        <translation>Interfaz activa</translation>
    </message>
    <message>
        <source>Communication port</source>
        <translation>Puerto de comunicación</translation>
    </message>
    <message>
        <source>UDP protocol</source>
        <translation>Protocolo UDP</translation>
    </message>
    <message>
        <source>Start automatically when I log in</source>
        <translation>Iniciar al iniciar sesión</translation>
    </message>
    <message>
        <source>Enabled (delayed by 30&quot;)</source>
        <translation>Activado (tras 30&quot;)</translation>
    </message>
    <message>
        <source>Start automatically at log-on</source>
        <translation>Iniciar al iniciar sesión</translation>
    </message>
    <message>
        <source>Add channels automatically</source>
        <translation>Añadir canales automáticamente</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Activado</translation>
    </message>
    <message>
        <source>Other networks</source>
        <translation>Otras redes</translation>
    </message>
    <message>
        <source>Broadcast addresses or hosts of other subnets, separated by blanks. They need this network in their lists too.</source>
        <translation>Direcciones de difusión o hosts de otras subredes, separados por espacios. Allí debe figurar esta red.</translation>
    </message>
    <message>
        <source>Failed to set data for &apos;%1&apos;</source>
        <translation>No se pudieron guardar los datos de &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Left out of the other networks (at most %1 addresses or host names): </source>
        <translation>Omitido de las otras redes (como máximo %1 direcciones o nombres de host): </translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>Tolvex user list</source>
        <translation>Lista de usuarios de Tolvex</translation>
    </message>
    <message>
        <source>Users panel</source>
        <translation>Panel de usuarios</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Nombre de usuario</translation>
    </message>
    <message>
        <source>Bottom panel</source>
        <translation>Panel inferior</translation>
    </message>
    <message>
        <source>The menu key opens the program menu; Escape minimizes to the tray</source>
        <translation>La tecla Menú abre el menú del programa; Escape lo minimiza a la bandeja</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Canales</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>User menu</source>
        <translation>Menú de usuario</translation>
    </message>
    <message>
        <source>Open chat window</source>
        <translation>Abrir ventana de chat</translation>
    </message>
    <message>
        <source>Show user IP</source>
        <translation>Mostrar IP</translation>
    </message>
    <message>
        <source>Reload user list</source>
        <translation>Recargar lista</translation>
    </message>
    <message>
        <source>Program menu</source>
        <translation>Menú del programa</translation>
    </message>
    <message>
        <source>Restore Tolvex</source>
        <translation>Restaurar Tolvex</translation>
    </message>
    <message>
        <source>Configuration...</source>
        <translation>Configuración...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Acerca de...</translation>
    </message>
    <message>
        <source>More free products...</source>
        <translation>Más productos gratis...</translation>
    </message>
    <message>
        <source>Channel menu</source>
        <translation>Menú de canal</translation>
    </message>
    <message>
        <source>Delete channel</source>
        <translation>Eliminar canal</translation>
    </message>
    <message>
        <source>The host name &quot;%1&quot; of the other networks does not resolve. It is tried again every 30 seconds.</source>
        <translation>El nombre de host &quot;%1&quot; de las otras redes no se resuelve. Se reintenta cada 30 segundos.</translation>
    </message>
    <message>
        <source>User &quot;%1&quot; has IP %2</source>
        <translation>El usuario &quot;%1&quot; tiene la IP %2</translation>
    </message>
    <message>
        <source>Active channel</source>
        <translation>Canal activo</translation>
    </message>
    <message>
        <source>Minimize or right click to open menu</source>
        <translation>Minimizar o clic derecho para abrir el menú</translation>
    </message>
    <message>
        <source>, click to restore</source>
        <translation>, clic para restaurar</translation>
    </message>
</context>
</TS>
