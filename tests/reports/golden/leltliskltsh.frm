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
<block ID="WHeader1" top="0" left="0" width="645" height="64" minspace="0" repeatnewpage="TRUE" border-width="0">
<block  top="2" left="180" width="280" height="22" border-width="0">
<inline-sequence font-family="Arial" font-size="12" font-wight="bold"  text-align="center">
Költséghelyes leltár lista
</inline-sequence>
</block>
<block  top="4" left="8" width="80" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField11]
</inline-sequence>
</block>
<block  top="4" left="540" width="40" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Oldal:
</inline-sequence>
</block>
<block  top="4" left="585" width="40" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[PageNo]
</inline-sequence>
</block>
<block  top="44" left="8" width="80" height="16" border-width="0">
<inline-sequence font-family="Times New Roman" font-size="8" text-align="left">
Leltári szám
</inline-sequence>
</block>
<block  top="44" left="90" width="200" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Megnevezés
</inline-sequence>
</block>
<block  top="44" left="300" width="110" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Bruttó
</inline-sequence>
</block>
<block  top="44" left="420" width="110" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
ÉCS
</inline-sequence>
</block>
<block  top="44" left="540" width="60" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Menny.
</inline-sequence>
</block>
</block>
<block ID="WHeader2" top="64" left="0" width="645" height="24" minspace="0" repeatnewpage="TRUE" border-width="0">
<block  top="4" left="8" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="left">
Költséghely:
</inline-sequence>
</block>
<block  top="4" left="100" width="120" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  font-decoration="underline"  text-align="left">
[WFKoltsh]
</inline-sequence>
</block>
</block>
<block ID="WHeader3" top="88" left="0" width="645" height="20" minspace="0" repeatnewpage="TRUE" border-width="0">
<block  top="2" left="24" width="100" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-style="italic"  text-align="left">
Fõkönyvi szám:
</inline-sequence>
</block>
<block  top="2" left="126" width="100" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-style="italic"  text-align="left">
[WFSzamla]
</inline-sequence>
</block>
</block>
<block ID="WDetail1" top="108" left="0" width="645" height="17" minspace="0" border-width="0">
<block  top="0" left="8" width="80" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WFLeltszam]
</inline-sequence>
</block>
<block  top="0" left="90" width="200" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WFMegnev]
</inline-sequence>
</block>
<block  top="0" left="300" width="110" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFBrutto]
</inline-sequence>
</block>
<block  top="0" left="420" width="110" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFEcssz]
</inline-sequence>
</block>
<block  top="0" left="540" width="60" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFMenny]
</inline-sequence>
</block>
</block>
<block ID="WFooter3" top="125" left="0" width="645" height="20" minspace="0" repeatnewpage="FALSE" border-width="0">
<block  top="2" left="90" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Számla összesen:
</inline-sequence>
</block>
<block  top="2" left="182" width="100" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WF3Szamla]
</inline-sequence>
</block>
<block  top="2" left="300" width="110" height="16" border-width="1">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WF3Brutto]
</inline-sequence>
</block>
<block  top="2" left="420" width="110" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WF3Ecssz]
</inline-sequence>
</block>
<block  top="2" left="540" width="60" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WF3Menny]
</inline-sequence>
</block>
</block>
<block ID="WFooter2" top="145" left="0" width="645" height="24" minspace="0" repeatnewpage="FALSE" border-width="0">
<block  top="4" left="8" width="160" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="left">
Költséghely összesen:
</inline-sequence>
</block>
<block  top="4" left="170" width="120" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="left">
[WF2Koltsh]
</inline-sequence>
</block>
<block  top="4" left="300" width="110" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WF2Brutto]
</inline-sequence>
</block>
<block  top="4" left="420" width="110" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WF2Ecssz]
</inline-sequence>
</block>
</block>
<block ID="WFooter1" top="169" left="0" width="645" height="26" minspace="0" repeatnewpage="FALSE" border-width="1">
<block  top="5" left="8" width="160" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="left">
Mindösszesen:
</inline-sequence>
</block>
<block  top="5" left="300" width="110" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WF1Brutto]
</inline-sequence>
</block>
<block  top="5" left="420" width="110" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WF1Ecssz]
</inline-sequence>
</block>
<block  top="5" left="540" width="60" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WF1Menny]
</inline-sequence>
</block>
</block>
</flow>
</sequence-specification-single>
</page-sequence>
</root>
