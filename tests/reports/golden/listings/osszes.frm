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
<block ID="WHeader1" top="0" left="0" width="645" height="100" minspace="0" repeatnewpage="TRUE" border-width="0">
<block  top="4" left="4" width="250" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WFCeg]
</inline-sequence>
</block>
<block  top="4" left="540" width="40" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Oldal:
</inline-sequence>
</block>
<block  top="4" left="582" width="44" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[PageNo]
</inline-sequence>
</block>
<block  top="24" left="100" width="440" height="20" border-width="0">
<inline-sequence font-family="Arial" font-size="12" font-wight="bold"  text-align="center">
Tárgyi eszköz/immateriális javak összesitõ
</inline-sequence>
</block>
<block  top="46" left="4" width="70" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Lista kelte:
</inline-sequence>
</block>
<block  top="46" left="76" width="80" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WFKelte]
</inline-sequence>
</block>
<block  top="46" left="250" width="50" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WFEv]
</inline-sequence>
</block>
<block  top="46" left="302" width="60" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
év
</inline-sequence>
</block>
<block  top="64" left="98" width="196" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="center">
Bruttó érték
</inline-sequence>
</block>
<block  top="64" left="296" width="196" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="center">
Értékcsökkenés
</inline-sequence>
</block>
<block  top="64" left="494" width="130" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="center">
Nettó érték
</inline-sequence>
</block>
<block  top="82" left="4" width="40" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Fõkönyv
</inline-sequence>
</block>
<block  top="82" left="46" width="50" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Leltsz.
</inline-sequence>
</block>
<block  top="82" left="98" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Áthozat
</inline-sequence>
</block>
<block  top="82" left="164" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Növekedés
</inline-sequence>
</block>
<block  top="82" left="230" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Csökkenés
</inline-sequence>
</block>
<block  top="82" left="296" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Áthozat
</inline-sequence>
</block>
<block  top="82" left="362" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Növekedés
</inline-sequence>
</block>
<block  top="82" left="428" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Csökkenés
</inline-sequence>
</block>
<block  top="82" left="494" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Áthozat
</inline-sequence>
</block>
<block  top="82" left="560" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Záró
</inline-sequence>
</block>
</block>
<block ID="WDetail1" top="100" left="0" width="645" height="16" minspace="0" border-width="0">
<block  top="1" left="4" width="40" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WFFksz]
</inline-sequence>
</block>
<block  top="1" left="46" width="50" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WFLsz]
</inline-sequence>
</block>
<block  top="1" left="98" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFBRATH]
</inline-sequence>
</block>
<block  top="1" left="164" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFBRNOV]
</inline-sequence>
</block>
<block  top="1" left="230" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFBRCSOK]
</inline-sequence>
</block>
<block  top="1" left="296" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFECSATH]
</inline-sequence>
</block>
<block  top="1" left="362" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFECSNOV]
</inline-sequence>
</block>
<block  top="1" left="428" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFECSCSOKK]
</inline-sequence>
</block>
<block  top="1" left="494" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFNETTOATH]
</inline-sequence>
</block>
<block  top="1" left="560" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFNETTO]
</inline-sequence>
</block>
</block>
<block ID="WFooter1" top="116" left="0" width="645" height="40" minspace="0" repeatnewpage="TRUE" border-width="0">
<block  top="1" left="4" width="92" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Fökönyvi számla összesen
</inline-sequence>
</block>
<block  top="1" left="98" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSBRATH]
</inline-sequence>
</block>
<block  top="1" left="164" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSBRNOV]
</inline-sequence>
</block>
<block  top="1" left="230" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSBRCSOK]
</inline-sequence>
</block>
<block  top="1" left="296" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSECSATH]
</inline-sequence>
</block>
<block  top="1" left="362" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSECSNOV]
</inline-sequence>
</block>
<block  top="1" left="428" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSECSCSOKK]
</inline-sequence>
</block>
<block  top="1" left="494" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSNETTOATH]
</inline-sequence>
</block>
<block  top="1" left="560" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSNETTO]
</inline-sequence>
</block>
<block  top="20" left="98" width="80" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Bruttó záró:
</inline-sequence>
</block>
<block  top="20" left="180" width="90" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFFkszBrZaro]
</inline-sequence>
</block>
<block  top="20" left="296" width="80" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
ÉCS záró:
</inline-sequence>
</block>
<block  top="20" left="378" width="90" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFFkszEcsZaro]
</inline-sequence>
</block>
</block>
<block ID="WFooterVegso" top="156" left="0" width="645" height="240" minspace="0" repeatnewpage="TRUE" border-width="0">
<block  top="2" left="4" width="92" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="left">
Végösszesen
</inline-sequence>
</block>
<block  top="2" left="98" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WFVBRATH]
</inline-sequence>
</block>
<block  top="2" left="164" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WFVBRNOV]
</inline-sequence>
</block>
<block  top="2" left="230" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WFVBRCSOK]
</inline-sequence>
</block>
<block  top="2" left="296" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WFVECSATH]
</inline-sequence>
</block>
<block  top="2" left="362" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WFVECSNOV]
</inline-sequence>
</block>
<block  top="2" left="428" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WFVECSCSOKK]
</inline-sequence>
</block>
<block  top="2" left="494" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WFVNETTOATH]
</inline-sequence>
</block>
<block  top="2" left="560" width="64" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WFVNETTO]
</inline-sequence>
</block>
<block  top="20" left="98" width="80" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Bruttó záró:
</inline-sequence>
</block>
<block  top="20" left="180" width="90" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFVegBrZaro]
</inline-sequence>
</block>
<block  top="20" left="296" width="80" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
ÉCS záró:
</inline-sequence>
</block>
<block  top="20" left="378" width="90" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFVegEcsZaro]
</inline-sequence>
</block>
<block  top="42" left="98" width="200" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Összes 11:
</inline-sequence>
</block>
<block  top="42" left="300" width="100" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSum11]
</inline-sequence>
</block>
<block  top="60" left="98" width="200" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Összes 12:
</inline-sequence>
</block>
<block  top="60" left="300" width="100" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSum12]
</inline-sequence>
</block>
<block  top="78" left="98" width="200" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Összes 13:
</inline-sequence>
</block>
<block  top="78" left="300" width="100" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSum13]
</inline-sequence>
</block>
<block  top="96" left="98" width="200" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Összes 14:
</inline-sequence>
</block>
<block  top="96" left="300" width="100" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSum14]
</inline-sequence>
</block>
<block  top="114" left="98" width="200" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Összes 15:
</inline-sequence>
</block>
<block  top="114" left="300" width="100" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSum15]
</inline-sequence>
</block>
<block  top="132" left="98" width="200" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Összes 16:
</inline-sequence>
</block>
<block  top="132" left="300" width="100" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSum16]
</inline-sequence>
</block>
<block  top="150" left="98" width="200" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Összes 17:
</inline-sequence>
</block>
<block  top="150" left="300" width="100" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSum17]
</inline-sequence>
</block>
<block  top="168" left="98" width="200" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Összes 18:
</inline-sequence>
</block>
<block  top="168" left="300" width="100" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSum18]
</inline-sequence>
</block>
<block  top="186" left="98" width="200" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Összes 19:
</inline-sequence>
</block>
<block  top="186" left="300" width="100" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSum19]
</inline-sequence>
</block>
<block  top="206" left="98" width="200" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Összes 11 + 12 + 13 + 14 + 15:
</inline-sequence>
</block>
<block  top="206" left="300" width="100" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSumossz]
</inline-sequence>
</block>
<block  top="222" left="98" width="200" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Összes 16 + 17 + 18 + 19 :
</inline-sequence>
</block>
<block  top="222" left="300" width="100" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFSumosszM]
</inline-sequence>
</block>
</block>
</flow>
</sequence-specification-single>
</page-sequence>
</root>
