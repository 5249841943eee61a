/*
  Turns a freshly created database (schema.sql and sample_classifiers.sql)
  into one as delivered by a previous release: no registry of electronic
  packages, no form type on monthly rows, the territorial offices 0 and 99
  still present and the sectors of Chisinau under their old names.
  The connection of the program brings such a database up to date.
*/

drop table t_pachet;

alter table saldo_data drop sd_kft_rf;

insert into k_adm_area2 (kaa2_id, kaa2_name_ro) values (0, 'NEREPARTIZAT');
insert into k_adm_area2 (kaa2_id, kaa2_name_ro) values (99, 'ALTE TERITORII');

update k_adm_area2 set kaa2_name_ro = 'SEC. CENTRU' where kaa2_id = 91;
update k_adm_area2 set kaa2_name_ro = 'SEC. RÎŞCANI' where kaa2_id = 92;
update k_adm_area2 set kaa2_name_ro = 'SEC. BUIUCANI' where kaa2_id = 93;
update k_adm_area2 set kaa2_name_ro = 'SEC. BOTANICA' where kaa2_id = 94;
update k_adm_area2 set kaa2_name_ro = 'SEC. CIOCANA' where kaa2_id = 95;
