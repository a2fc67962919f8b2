<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>CodePageGuard</name>
    <message>
        <source>Too long for one message: | counts twice</source>
        <translation>Trop long pour un message : | compte double</translation>
    </message>
    <message>
        <source>Cannot be sent, left out: </source>
        <translation>Impossible à envoyer, omis : </translation>
    </message>
</context>
<context>
    <name>TAboutForm</name>
    <message>
        <source>About...</source>
        <translation>À propos...</translation>
    </message>
    <message>
        <source>Program icon</source>
        <translation>Icône du programme</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Make a donation</source>
        <translation>Faire un don</translation>
    </message>
    <message>
        <source>Support %1 today!</source>
        <translation>Soutenez %1 dès aujourd&apos;hui !</translation>
    </message>
    <message>
        <source>Web page</source>
        <translation>Site web</translation>
    </message>
    <message>
        <source>Visit our home page</source>
        <translation>Visitez notre site</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>Send us your comments or suggestions</source>
        <translation>Envoyez-nous vos remarques ou suggestions</translation>
    </message>
    <message>
        <source>version 1.0 (build %1)</source>
        <translation>version 1.0 (build %1)</translation>
    </message>
</context>
<context>
    <name>TChatForm</name>
    <message>
        <source>Transcript</source>
        <translation>Historique</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;.</source>
        <translation>Impossible de créer le fichier « %1 ».</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Réduire</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Masquer</translation>
    </message>
    <message>
        <source>Send message</source>
        <translation>Envoyer le message</translation>
    </message>
    <message>
        <source>Resize window</source>
        <translation>Redimensionner la fenêtre</translation>
    </message>
    <message>
        <source>Copy to clipboard</source>
        <translation>Copier dans le presse-papiers</translation>
    </message>
    <message>
        <source>Clear text</source>
        <translation>Effacer le texte</translation>
    </message>
    <message>
        <source>Save to file (RTF)</source>
        <translation>Enregistrer dans un fichier (RTF)</translation>
    </message>
    <message>
        <source>Rich Text Format (*.rtf *.RTF)</source>
        <translation>Texte enrichi RTF (*.rtf *.RTF)</translation>
    </message>
</context>
<context>
    <name>TConfigForm</name>
    <message>
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Nom d&apos;utilisateur</translation>
    </message>
    <message>
        <source>(restore default)</source>
        <translation>(par défaut)</translation>
    </message>
    <message>
        <source>Restore the default user name</source>
        <translation>Rétablir le nom d&apos;utilisateur par défaut</translation>
    </message>
    <message>
        <source>Active interface</source>
        <translation>Interface active</translation>
    </message>
    <message>
        <source>Communication port</source>
        <translation>Port de communication</translation>
    </message>
    <message>
        <source>UDP protocol</source>
        <translation>Protocole UDP</translation>
    </message>
    <message>
        <source>Start automatically when I log in</source>
        <translation>Démarrer à l&apos;ouverture de session</translation>
    </message>
    <message>
        <source>Enabled (delayed by 30&quot;)</source>
        <translation>Activé (après 30&quot;)</translation>
    </message>
    <message>
        <source>Start automatically at log-on</source>
        <translation>Démarrer à l&apos;ouverture de session</translation>
    </message>
    <message>
        <source>Add channels automatically</source>
        <translation>Ajouter les canaux auto.</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Activé</translation>
    </message>
    <message>
        <source>Other networks</source>
        <translation>Autres réseaux</translation>
    </message>
    <message>
        <source>Broadcast addresses or hosts of other subnets, separated by blanks. They need this network in their lists too.</source>
        <translation>Adresses de diffusion ou hôtes d&apos;autres sous-réseaux, séparés par des espaces. Ils doivent aussi lister ce réseau.</translation>
    </message>
    <message>
        <source>Failed to set data for &apos;%1&apos;</source>
        <translation>Impossible d&apos;enregistrer les données de &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Left out of the other networks (at most %1 addresses or host names): </source>
        <translation>Omis des autres réseaux (au plus %1 adresses ou noms d&apos;hôte) : </translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>Tolvex user list</source>
        <translation>Liste des utilisateurs Tolvex</translation>
    </message>
    <message>
        <source>Users panel</source>
        <translation>Panneau des utilisateurs</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Nom d&apos;utilisateur</translation>
    </message>
    <message>
        <source>Bottom panel</source>
        <translation>Panneau inférieur</translation>
    </message>
    <message>
        <source>The menu key opens the program menu; Escape minimizes to the tray</source>
        <translation>La touche Menu ouvre le menu du programme ; Échap réduit dans la zone de notification</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Canaux</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Réduire</translation>
    </message>
    <message>
        <source>User menu</source>
        <translation>Menu utilisateur</translation>
    </message>
    <message>
        <source>Open chat window</source>
        <translation>Ouvrir la discussion</translation>
    </message>
    <message>
        <source>Show user IP</source>
        <translation>Afficher l&apos;IP</translation>
    </message>
    <message>
        <source>Reload user list</source>
        <translation>Recharger la liste</translation>
    </message>
    <message>
        <source>Program menu</source>
        <translation>Menu du programme</translation>
    </message>
    <message>
        <source>Restore Tolvex</source>
        <translation>Restaurer Tolvex</translation>
    </message>
    <message>
        <source>Configuration...</source>
        <translation>Configuration...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>À propos...</translation>
    </message>
    <message>
        <source>More free products...</source>
        <translation>Autres produits gratuits...</translation>
    </message>
    <message>
        <source>Channel menu</source>
        <translation>Menu du canal</translation>
    </message>
    <message>
        <source>Delete channel</source>
        <translation>Supprimer le canal</translation>
    </message>
    <message>
        <source>The host name &quot;%1&quot; of the other networks does not resolve. It is tried again every 30 seconds.</source>
        <translation>Le nom d&apos;hôte « %1 » des autres réseaux ne se résout pas. Nouvel essai toutes les 30 secondes.</translation>
    </message>
    <message>
        <source>User &quot;%1&quot; has IP %2</source>
        <translation>L&apos;utilisateur « %1 » a l&apos;IP %2</translation>
    </message>
    <message>
        <source>Active channel</source>
        <translation>Canal actif</translation>
    </message>
    <message>
        <source>Minimize or right click to open menu</source>
        <translation>Réduire, clic droit pour le menu</translation>
    </message>
    <message>
        <source>, click to restore</source>
        <translation>, cliquer pour restaurer</translation>
    </message>
</context>
</TS>
