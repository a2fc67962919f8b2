<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>MessagingEngine</name>
    <message>
        <source>Error: </source>
        <translation>Erreur : </translation>
    </message>
    <message>
        <source>the network device &quot;%1&quot; has no IPv4 address</source>
        <translation>le périphérique réseau « %1 » n&apos;a pas d&apos;adresse IPv4</translation>
    </message>
    <message>
        <source>the interface &quot;%1&quot; is neither an IPv4 address nor a network device of this computer</source>
        <translation>l&apos;interface « %1 » n&apos;est ni une adresse IPv4 ni un périphérique réseau de cet ordinateur</translation>
    </message>
    <message>
        <source>the port &quot;%1&quot; is not a number from 1 to 65535; nothing is sent or received</source>
        <translation>le port « %1 » n&apos;est pas un nombre de 1 à 65535 ; rien n&apos;est envoyé ni reçu</translation>
    </message>
    <message>
        <source>%1; nothing is sent or received</source>
        <translation>%1 ; rien n&apos;est envoyé ni reçu</translation>
    </message>
    <message>
        <source>Network error<byte value="xd"/>
You do not have a local network IP.<byte value="xd"/>
The server cannot be started.</source>
        <translation>Erreur réseau<byte value="xd"/>
Vous n&apos;avez pas d&apos;adresse IP sur le réseau local.<byte value="xd"/>
Le serveur ne peut pas démarrer.</translation>
    </message>
    <message>
        <source>port %1 is already in use (another copy running?); this copy stays off line until the port is free</source>
        <translation>le port %1 est déjà utilisé (une autre copie en cours ?) ; cette copie reste hors ligne jusqu&apos;à ce que le port se libère</translation>
    </message>
    <message>
        <source>%1 (Code %2)</source>
        <translation>%1 (code %2)</translation>
    </message>
    <message>
        <source>Channel &quot;%1&quot; cannot be deleted.</source>
        <translation>Le canal « %1 » ne peut pas être supprimé.</translation>
    </message>
    <message>
        <source>Channel &quot;%1&quot; will be deleted, continue?</source>
        <translation>Le canal « %1 » va être supprimé, continuer ?</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>The settings file %1 is too large to read (more than %2 MiB); it was left as it is</source>
        <translation>Le fichier de réglages %1 est trop gros pour être lu (plus de %2 Mio) ; il a été laissé tel quel</translation>
    </message>
    <message>
        <source>Unable to write the settings: no folder for them is known (neither XDG_CONFIG_HOME nor HOME names one)</source>
        <translation>Impossible d&apos;écrire les réglages : aucun dossier connu pour eux (ni XDG_CONFIG_HOME ni HOME n&apos;en indique un)</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Impossible d&apos;écrire dans %1</translation>
    </message>
</context>
</TS>
