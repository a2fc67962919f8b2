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
