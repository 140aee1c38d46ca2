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
<block ID="WHeader1" top="0" left="0" width="645" height="96" minspace="0" repeatnewpage="TRUE" border-width="0">
<block  top="4" left="4" width="320" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[wfdCegnev]
</inline-sequence>
</block>
<block  top="4" left="520" width="94" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[wfdDatum]
</inline-sequence>
</block>
<block  top="24" left="140" width="340" height="20" border-width="0">
<inline-sequence font-family="Arial" font-size="12" font-wight="bold"  text-align="center">
HIÁNYZÓ AMORTIZÁCIÓS KULCSOK
</inline-sequence>
</block>
<block  top="24" left="540" width="40" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[PageNo]
</inline-sequence>
</block>
<block  top="24" left="582" width="32" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
.LAP
</inline-sequence>
</block>
<block  top="44" left="4" width="30" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Év:
</inline-sequence>
</block>
<block  top="44" left="36" width="60" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[wfdEv]
</inline-sequence>
</block>
<block  top="62" left="352" width="262" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="center">
A program által az elözõ évek alapján javasolt kulcs
</inline-sequence>
</block>
<block  top="78" left="4" width="90" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Leltári szám
</inline-sequence>
</block>
<block  top="78" left="98" width="250" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Megnevezés
</inline-sequence>
</block>
<block  top="78" left="352" width="130" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Számviteli törvény szerint
</inline-sequence>
</block>
<block  top="78" left="484" width="130" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
ÁFA törvény szerint
</inline-sequence>
</block>
</block>
<block ID="WDetail1" top="96" left="0" width="645" height="16" minspace="0" border-width="0">
<block  top="1" left="4" width="90" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[wfdLeltszam]
</inline-sequence>
</block>
<block  top="1" left="98" width="250" height="14" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[wfdMegnev]
</inline-sequence>
</block>
<block  top="1" left="352" width="130" height="14" border-width="0">
<inline-sequence font-family="Courier New" font-size="8" text-align="right">
[wfdKulcssz]
</inline-sequence>
</block>
<block  top="1" left="484" width="130" height="14" border-width="0">
<inline-sequence font-family="Courier New" font-size="8" text-align="right">
[wfdKulcs]
</inline-sequence>
</block>
</block>
</flow>
</sequence-specification-single>
</page-sequence>
</root>
