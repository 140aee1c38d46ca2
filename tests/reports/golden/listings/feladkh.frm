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
<block ID="WHeaderFO" top="0" left="0" width="645" height="84" minspace="0" repeatnewpage="TRUE" border-width="0">
<block  top="4" left="8" width="250" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField1]
</inline-sequence>
</block>
<block  top="4" left="540" width="40" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Oldal:
</inline-sequence>
</block>
<block  top="4" left="582" width="50" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[PageNo]
</inline-sequence>
</block>
<block  top="24" left="150" width="340" height="20" border-width="0">
<inline-sequence font-family="Arial" font-size="12" font-wight="bold"  text-align="center">
K Ö N Y V E L É S I   F E L A D Á S
</inline-sequence>
</block>
<block  top="46" left="8" width="200" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField4]
</inline-sequence>
</block>
<block  top="46" left="220" width="200" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField3]
</inline-sequence>
</block>
<block  top="46" left="460" width="80" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Lista kelte:
</inline-sequence>
</block>
<block  top="46" left="542" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField2]
</inline-sequence>
</block>
<block  top="66" left="8" width="50" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Leltsz.
</inline-sequence>
</block>
<block  top="66" left="60" width="66" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Dátum
</inline-sequence>
</block>
<block  top="66" left="128" width="150" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Szöveg
</inline-sequence>
</block>
<block  top="66" left="280" width="70" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Biz.szám
</inline-sequence>
</block>
<block  top="66" left="352" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Bruttó vált.
</inline-sequence>
</block>
<block  top="66" left="444" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
ÉCS vált.
</inline-sequence>
</block>
<block  top="66" left="536" width="96" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Nettó
</inline-sequence>
</block>
</block>
<block ID="WHeader1" top="84" left="0" width="645" height="22" minspace="0" repeatnewpage="TRUE" border-width="0">
<block  top="3" left="8" width="40" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="left">
Típus:
</inline-sequence>
</block>
<block  top="3" left="50" width="16" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="left">
[WField9]
</inline-sequence>
</block>
<block  top="3" left="68" width="170" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="left">
[WField10]
</inline-sequence>
</block>
<block  top="3" left="240" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Kontírszámok:
</inline-sequence>
</block>
<block  top="3" left="332" width="70" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField11]
</inline-sequence>
</block>
<block  top="3" left="406" width="70" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField12]
</inline-sequence>
</block>
<block  top="3" left="480" width="70" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField13]
</inline-sequence>
</block>
<block  top="3" left="554" width="70" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField14]
</inline-sequence>
</block>
</block>
<block ID="WDetail1" top="106" left="0" width="645" height="17" minspace="0" border-width="0">
<block  top="0" left="8" width="50" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WFLeltszam]
</inline-sequence>
</block>
<block  top="0" left="60" width="66" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WFDatum]
</inline-sequence>
</block>
<block  top="0" left="128" width="150" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WFSzoveg]
</inline-sequence>
</block>
<block  top="0" left="280" width="70" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WFBizszam]
</inline-sequence>
</block>
<block  top="0" left="352" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFBv]
</inline-sequence>
</block>
<block  top="0" left="444" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFEcsV]
</inline-sequence>
</block>
<block  top="0" left="536" width="96" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFN]
</inline-sequence>
</block>
</block>
<block ID="WFooter2" top="123" left="0" width="645" height="20" minspace="0" repeatnewpage="TRUE" border-width="0">
<block  top="2" left="128" width="150" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Költséghely összesen:
</inline-sequence>
</block>
<block  top="2" left="280" width="70" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WFKoltshely]
</inline-sequence>
</block>
<block  top="2" left="352" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFBKH]
</inline-sequence>
</block>
<block  top="2" left="444" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFEcsKH]
</inline-sequence>
</block>
<block  top="2" left="536" width="96" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WFNKH]
</inline-sequence>
</block>
</block>
<block ID="WFooter1" top="143" left="0" width="645" height="24" minspace="0" repeatnewpage="TRUE" border-width="0">
<block  top="4" left="128" width="100" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="left">
ÖSSZESEN:
</inline-sequence>
</block>
<block  top="4" left="352" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WFSBV]
</inline-sequence>
</block>
<block  top="4" left="444" width="90" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WFSEcsV]
</inline-sequence>
</block>
<block  top="4" left="536" width="96" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WFSN]
</inline-sequence>
</block>
</block>
</flow>
</sequence-specification-single>
</page-sequence>
</root>
