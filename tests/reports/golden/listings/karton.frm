<?xml version="1.0" encoding="ISO-8859-1" ?>
<root>
   <layout-master-set>
   <simple-page-master
     page-master-name="PAGE0"
     page-height="380MM"
     page-width="210MM">
</simple-page-master>
</layout-master-set>
<page-sequence>
<sequence-specification-single page-master-name="PAGE0">
<flow section-name="xsl-body">
<block ID="WHeader_LSZ" top="0" left="0" width="645" height="250" minspace="180" repeatnewpage="TRUE" border-width="0">
<block  top="4" left="8" width="250" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WFCegnev]
</inline-sequence>
</block>
<block  top="4" left="460" width="80" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Lista kelte:
</inline-sequence>
</block>
<block  top="4" left="542" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField43]
</inline-sequence>
</block>
<block  top="22" left="200" width="240" height="20" border-width="0">
<inline-sequence font-family="Arial" font-size="12" font-wight="bold"  text-align="center">
ESZKÖZNYILVÁNTARTÓ KARTON
</inline-sequence>
</block>
<block  top="22" left="460" width="170" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
Számviteli törvény sz.
</inline-sequence>
</block>
<block  top="44" left="8" width="80" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Beszerzés:
</inline-sequence>
</block>
<block  top="44" left="90" width="80" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField46]
</inline-sequence>
</block>
<block  top="44" left="180" width="80" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField47]
</inline-sequence>
</block>
<block  top="44" left="330" width="110" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Listázott idõszak:
</inline-sequence>
</block>
<block  top="44" left="442" width="80" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField51]
</inline-sequence>
</block>
<block  top="44" left="530" width="80" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField52]
</inline-sequence>
</block>
<block  top="64" left="8" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Leltári szám:
</inline-sequence>
</block>
<block  top="64" left="100" width="100" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="left">
[WField1]
</inline-sequence>
</block>
<block  top="64" left="330" width="110" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Beszerzés kelte:
</inline-sequence>
</block>
<block  top="64" left="442" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField6]
</inline-sequence>
</block>
<block  top="82" left="8" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Megnevezés:
</inline-sequence>
</block>
<block  top="82" left="100" width="220" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="left">
[WField2]
</inline-sequence>
</block>
<block  top="82" left="330" width="110" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Aktiválás kelte:
</inline-sequence>
</block>
<block  top="82" left="442" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField8]
</inline-sequence>
</block>
<block  top="100" left="8" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Gyártó:
</inline-sequence>
</block>
<block  top="100" left="100" width="220" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField3]
</inline-sequence>
</block>
<block  top="100" left="330" width="110" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Beszerzési érték:
</inline-sequence>
</block>
<block  top="100" left="442" width="120" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField9]
</inline-sequence>
</block>
<block  top="118" left="8" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Típus:
</inline-sequence>
</block>
<block  top="118" left="100" width="120" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField4]
</inline-sequence>
</block>
<block  top="118" left="222" width="100" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField7]
</inline-sequence>
</block>
<block  top="118" left="330" width="110" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Maradványérték:
</inline-sequence>
</block>
<block  top="118" left="442" width="120" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField11]
</inline-sequence>
</block>
<block  top="136" left="8" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Megjegyzés:
</inline-sequence>
</block>
<block  top="136" left="100" width="220" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField45]
</inline-sequence>
</block>
<block  top="136" left="330" width="110" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Hasznos élettartam:
</inline-sequence>
</block>
<block  top="136" left="442" width="60" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField12]
</inline-sequence>
</block>
<block  top="154" left="8" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Kontírszámok:
</inline-sequence>
</block>
<block  top="154" left="100" width="60" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField13]
</inline-sequence>
</block>
<block  top="154" left="164" width="60" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField33]
</inline-sequence>
</block>
<block  top="154" left="228" width="60" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField34]
</inline-sequence>
</block>
<block  top="154" left="292" width="60" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField35]
</inline-sequence>
</block>
<block  top="154" left="330" width="110" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Gyári szám:
</inline-sequence>
</block>
<block  top="154" left="442" width="180" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField5]
</inline-sequence>
</block>
<block  top="176" left="8" width="50" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Év:
</inline-sequence>
</block>
<block  top="176" left="60" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField10]
</inline-sequence>
</block>
<block  top="176" left="116" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField14]
</inline-sequence>
</block>
<block  top="176" left="172" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField15]
</inline-sequence>
</block>
<block  top="176" left="228" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField16]
</inline-sequence>
</block>
<block  top="176" left="284" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField17]
</inline-sequence>
</block>
<block  top="176" left="340" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField18]
</inline-sequence>
</block>
<block  top="176" left="396" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField19]
</inline-sequence>
</block>
<block  top="176" left="452" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField20]
</inline-sequence>
</block>
<block  top="176" left="508" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField21]
</inline-sequence>
</block>
<block  top="176" left="564" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField22]
</inline-sequence>
</block>
<block  top="194" left="8" width="50" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Kulcs %:
</inline-sequence>
</block>
<block  top="194" left="60" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField23]
</inline-sequence>
</block>
<block  top="194" left="116" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField24]
</inline-sequence>
</block>
<block  top="194" left="172" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField25]
</inline-sequence>
</block>
<block  top="194" left="228" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField26]
</inline-sequence>
</block>
<block  top="194" left="284" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField27]
</inline-sequence>
</block>
<block  top="194" left="340" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField28]
</inline-sequence>
</block>
<block  top="194" left="396" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField29]
</inline-sequence>
</block>
<block  top="194" left="452" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField30]
</inline-sequence>
</block>
<block  top="194" left="508" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField31]
</inline-sequence>
</block>
<block  top="194" left="564" width="54" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField32]
</inline-sequence>
</block>
<block  top="212" left="250" width="60" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Br. növ.
</inline-sequence>
</block>
<block  top="212" left="380" width="60" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
ÉCS növ.
</inline-sequence>
</block>
<block  top="218" left="312" width="66" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Bruttó
</inline-sequence>
</block>
<block  top="218" left="442" width="66" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
ÉCS
</inline-sequence>
</block>
<block  top="218" left="510" width="70" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Nettó
</inline-sequence>
</block>
<block  top="218" left="582" width="50" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Menny.
</inline-sequence>
</block>
<block  top="226" left="8" width="66" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Dátum
</inline-sequence>
</block>
<block  top="226" left="76" width="56" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Biz.szám
</inline-sequence>
</block>
<block  top="226" left="134" width="12" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
T
</inline-sequence>
</block>
<block  top="226" left="148" width="100" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Szöveg
</inline-sequence>
</block>
<block  top="226" left="250" width="60" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Br. csökk.
</inline-sequence>
</block>
<block  top="226" left="380" width="60" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
ÉCS csökk.
</inline-sequence>
</block>
</block>
<block ID="WDetail" top="250" left="0" width="645" height="17" minspace="0" border-width="0">
<block  top="0" left="8" width="66" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField48]
</inline-sequence>
</block>
<block  top="0" left="76" width="56" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField49]
</inline-sequence>
</block>
<block  top="0" left="134" width="12" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField50]
</inline-sequence>
</block>
<block  top="0" left="148" width="100" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField53]
</inline-sequence>
</block>
<block  top="0" left="250" width="60" height="8" border-width="0">
<inline-sequence font-family="Arial" font-size="6" text-align="right">
[WField36]
</inline-sequence>
</block>
<block  top="0" left="312" width="66" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField38]
</inline-sequence>
</block>
<block  top="0" left="380" width="60" height="8" border-width="0">
<inline-sequence font-family="Arial" font-size="6" text-align="right">
[WField41]
</inline-sequence>
</block>
<block  top="0" left="442" width="66" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField39]
</inline-sequence>
</block>
<block  top="0" left="510" width="70" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField42]
</inline-sequence>
</block>
<block  top="0" left="582" width="50" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField54]
</inline-sequence>
</block>
<block  top="8" left="250" width="60" height="8" border-width="0">
<inline-sequence font-family="Arial" font-size="6" text-align="right">
[WField37]
</inline-sequence>
</block>
<block  top="8" left="380" width="60" height="8" border-width="0">
<inline-sequence font-family="Arial" font-size="6" text-align="right">
[WField40]
</inline-sequence>
</block>
</block>
<block ID="WFooter1" top="267" left="0" width="645" height="30" minspace="0" repeatnewpage="TRUE" border-width="0">
<block  top="4" left="442" width="120" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="left">
Záró mennyiség:
</inline-sequence>
</block>
<block  top="4" left="582" width="50" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WField55]
</inline-sequence>
</block>
</block>
<block ID="WFooter_FO" top="297" left="0" width="645" height="150" minspace="0" repeatnewpage="TRUE" border-width="0">
<block  top="4" left="8" width="300" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
A    -->     Áthozat elõzõ évekrõl
</inline-sequence>
</block>
<block  top="4" left="318" width="300" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
6     -->     Eladás
</inline-sequence>
</block>
<block  top="22" left="8" width="300" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
0     -->     Beszerzés / Létrehozás
</inline-sequence>
</block>
<block  top="22" left="318" width="300" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
7     -->     Adott aport
</inline-sequence>
</block>
<block  top="40" left="8" width="300" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
1     -->     Kapott apport
</inline-sequence>
</block>
<block  top="40" left="318" width="300" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
8     -->     Értékvesztés
</inline-sequence>
</block>
<block  top="58" left="8" width="300" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
2     -->     Aktíválás
</inline-sequence>
</block>
<block  top="58" left="318" width="300" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
9     -->     Visszaírás
</inline-sequence>
</block>
<block  top="76" left="8" width="300" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
3     -->     Értéknövelõ beruházás
</inline-sequence>
</block>
<block  top="76" left="318" width="300" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
R     -->     Részbeni eladás
</inline-sequence>
</block>
<block  top="94" left="8" width="300" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
4     -->     Értékcsökkenési leírás
</inline-sequence>
</block>
<block  top="94" left="318" width="300" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
D --> Átvezetés (Növekszik)
</inline-sequence>
</block>
<block  top="112" left="8" width="300" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
5     -->     Selejtezés
</inline-sequence>
</block>
<block  top="112" left="318" width="300" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
C --> Átvezetés (Csökken)
</inline-sequence>
</block>
</block>
</flow>
</sequence-specification-single>
</page-sequence>
</root>
