/*
  Schema of the delivered database bdkolm.gdb.
  SQL dialect 1, default character set WIN1250.

  The order of the columns of econ_agent, name_account, saldo_data, packlabel
  and t_pachet is fixed: the program reads their rows with select * and
  copies them by position, and inserts packlabel rows positionally.
  Identifiers of records are numeric(15,0), which dialect 1 stores as double
  precision. Dates are dialect 1 dates (they may carry a time part).

  The loader runs every statement in a transaction of its own, after the
  database has been created.
*/

/* ---------------------------------------------------------------- classifiers */

create table k_adm_area2 (
  kaa2_id       integer not null,
  kaa2_name_ro  varchar(100),
  constraint pk_k_adm_area2 primary key (kaa2_id)
);

create table k_tariff_ap (
  ktap_id       integer not null,
  ktap_name_ro  varchar(250),
  constraint pk_k_tariff_ap primary key (ktap_id)
);

/* Rate rows of a category for a period of validity.
   Unit P: the value is a percentage of the pay fund.
   Unit L: the value is a yearly amount, one twelfth of it due per month.
   ktapv_ap_max is the monthly ceiling of the individual contribution. */
create table k_tariff_ap_value (
  ktapv_id          integer not null,
  ktapv_ktap        integer not null,
  ktapv_date_start  date not null,
  ktapv_date_stop   date not null,
  ktapv_ap_unit     varchar(1),
  ktapv_ap_value    double precision,
  ktapv_ap_max      double precision,
  ktapv_ea_unit     varchar(1),
  ktapv_ea_value    double precision,
  constraint pk_k_tariff_ap_value primary key (ktapv_id)
);

create index ix_ktapv_ktap on k_tariff_ap_value (ktapv_ktap, ktapv_date_start);

create table k_form_type (
  kft_id       smallint not null,
  kft_name_ro  varchar(20),
  constraint pk_k_form_type primary key (kft_id)
);

create table k_month (
  km_id       integer not null,
  km_name_ro  varchar(20),
  constraint pk_k_month primary key (km_id)
);

create table k_prof (
  kp_id       integer not null,
  kp_name_ro  varchar(250),
  constraint pk_k_prof primary key (kp_id)
);

create table k_id_doc_type (
  kidt_id       integer not null,
  kidt_name_ro  varchar(100),
  constraint pk_k_id_doc_type primary key (kidt_id)
);

/* -------------------------------------------------------------------- records */

create table econ_agent (
  ea_id               numeric(15,0) not null,
  ea_fosk             varchar(15) not null,
  ea_idno             varchar(17) not null,
  ea_full_name        varchar(254) not null,
  ea_director_name    varchar(254) not null,
  ea_accountant_name  varchar(254) not null,
  ea_kaa2_fosk        numeric(15,0) not null,
  ea_receiving_usr    varchar(254) not null,
  ea_cod              varchar(17),
  constraint pk_econ_agent primary key (ea_id)
);

create table assured_person (
  ap_id           numeric(15,0) not null,
  ap_ea           numeric(15,0),
  ap_cpas         varchar(13),
  ap_idnp         varchar(13),
  ap_idnp_who     varchar(254),
  ap_idnp_dt      date,
  ap_birth_dt     date,
  ap_sex          varchar(1),
  ap_doc_type     numeric(15,0),
  ap_doc_seria    varchar(9),
  ap_doc_number   varchar(13),
  ap_first_name   varchar(254) not null,
  ap_middle_name  varchar(254) not null,
  ap_last_name    varchar(254),
  constraint pk_assured_person primary key (ap_id)
);

create index ix_ap_ea on assured_person (ap_ea);
create index ix_ap_cpas on assured_person (ap_cpas);
create index ix_ap_idnp on assured_person (ap_idnp);

create table packlabel (
  pl_id             numeric(15,0) not null,
  pl_ea             numeric(15,0) not null,
  pl_n              integer not null,
  pl_year           smallint not null,
  pl_form_compl_dt  date not null,
  pl_kft_rf         integer,
  pl_cpas           varchar(2),
  pl_nr             integer,
  constraint pk_packlabel primary key (pl_id)
);

create index ix_pl_ea_year on packlabel (pl_ea, pl_year);

create table name_account (
  na_id            numeric(15,0) not null,
  na_pl            numeric(15,0),
  na_ap            numeric(15,0),
  na_year          integer,
  na_is_pens       varchar(1),
  na_period_begin  date,
  na_period_end    date,
  na_ap_category   numeric(15,0),
  na_wb_in_ea      varchar(1),
  na_wb_seria      varchar(13),
  na_wb_number     varchar(13),
  na_kft_rf        numeric(15,0),
  na_ill           double precision,
  na_rest          double precision,
  na_public_d      date,
  na_position      numeric(15,0),
  na_public        varchar(1),
  constraint pk_name_account primary key (na_id)
);

create index ix_na_ap_year on name_account (na_ap, na_year);
create index ix_na_pl on name_account (na_pl);

create table saldo_data (
  sd_id           numeric(15,0) not null,
  sd_na           numeric(15,0) not null,
  sd_month        smallint not null,
  sd_paym_fond    double precision,
  sd_ill          double precision,
  sd_tariff_ap    numeric(15,0),
  sd_sum_add      double precision,
  sd_sum_real     double precision,
  sd_tariff_ea    numeric(15,0),
  sd_sum_add_ea   double precision,
  sd_sum_real_ea  double precision,
  sd_pens_fund    numeric(15,0),
  sd_dela_d       date,
  sd_pina_d       date,
  sd_zile_n       smallint,
  sd_ap_category  numeric(15,0),
  sd_position     numeric(15,0),
  sd_kft_rf       smallint default 1 not null,
  constraint pk_saldo_data primary key (sd_id)
);

create index ix_sd_na_month on saldo_data (sd_na, sd_month);

/* Registry of formed electronic packages: the statement the program itself
   runs when the table is missing. */
CREATE TABLE t_pachet (pachet_id integer not null,  nume varchar(80) not null, pachet_d date not null,  anul smallint not null , luna_d smallint not null, luna_p smallint not null, ae_rf integer, cimp1 integer , cimp2 varchar(50), cimp3 decimal(15,2), PRIMARY KEY (pachet_id));

/* Dependent rows of a declaration. The program only deletes from them. */
create table money_util (
  mu_id      numeric(15,0) not null,
  mu_na      numeric(15,0),
  mu_month   smallint,
  mu_kind    integer,
  mu_sum     double precision,
  constraint pk_money_util primary key (mu_id)
);

create index ix_mu_na on money_util (mu_na);

create table stage_info (
  si_id          numeric(15,0) not null,
  si_na          numeric(15,0),
  si_date_begin  date,
  si_date_end    date,
  si_note        varchar(254),
  constraint pk_stage_info primary key (si_id)
);

create index ix_si_na on stage_info (si_na);

/* --------------------------------------------------------------- foreign keys */

/* Only references that the program itself keeps in its own deletion order.
   No key on na_pl (packages are renumbered and removed by the program), on
   sd_tariff_ap and sd_tariff_ea, on money_util and stage_info (declarations
   without monthly rows are removed directly), nor on the classifier codes
   typed or imported by the user. A profession used by a declaration cannot
   be deleted: the profession update relies on that refusal. */

alter table assured_person add constraint fk_ap_ea
  foreign key (ap_ea) references econ_agent (ea_id);

alter table packlabel add constraint fk_pl_ea
  foreign key (pl_ea) references econ_agent (ea_id);

alter table name_account add constraint fk_na_ap
  foreign key (na_ap) references assured_person (ap_id);

alter table name_account add constraint fk_na_position
  foreign key (na_position) references k_prof (kp_id);

alter table saldo_data add constraint fk_sd_na
  foreign key (sd_na) references name_account (na_id);

/* ----------------------------------------------------------------- generators */

create generator gen_ea_id;
create generator gen_ap_id;
create generator gen_na_id;
create generator gen_sd_id;
create generator gen_pl_id;

/* ----------------------------------------------------------------- procedures */

/* Each get_*_id returns one row with a new identifier in nRet. The record
   procedures skip values already held by a row of their table, so rows
   inserted with explicit identifiers never collide. get_pl_id hands out the
   generator next value as it is: the program resets gen_pl_id to the
   largest package in use so that freed numbers are used again. */

SET TERM ^ ;

create procedure get_ea_id
returns (nRet numeric(15,0))
as
begin
  nRet = gen_id(gen_ea_id, 1);
  while (exists(select ea_id from econ_agent where ea_id = :nRet)) do
    nRet = gen_id(gen_ea_id, 1);
  suspend;
end^

create procedure get_ap_id
returns (nRet numeric(15,0))
as
begin
  nRet = gen_id(gen_ap_id, 1);
  while (exists(select ap_id from assured_person where ap_id = :nRet)) do
    nRet = gen_id(gen_ap_id, 1);
  suspend;
end^

create procedure get_na_id
returns (nRet numeric(15,0))
as
begin
  nRet = gen_id(gen_na_id, 1);
  while (exists(select na_id from name_account where na_id = :nRet)) do
    nRet = gen_id(gen_na_id, 1);
  suspend;
end^

/* Monthly rows are many: each connection takes their identifiers from the generator in blocks
   of 100 and hands them out one by one, so that a new row does not cost a generator write
   (which the server makes durable at once). Blocks of two connections never meet; a value held
   by a row is skipped as above; what is left of a block when the connection ends is not used. */
create procedure get_sd_id
returns (nRet numeric(15,0))
as
  declare variable next_id integer;
  declare variable last_id integer;
  declare variable ignored integer;
begin
  next_id = cast(rdb$get_context('USER_SESSION', 'GET_SD_ID_NEXT') as integer);
  last_id = cast(rdb$get_context('USER_SESSION', 'GET_SD_ID_LAST') as integer);
  while (next_id is null or next_id > last_id
         or exists(select sd_id from saldo_data where sd_id = :next_id)) do
  begin
    if (next_id is null or next_id > last_id) then
    begin
      last_id = gen_id(gen_sd_id, 100);
      next_id = last_id - 99;
    end
    else
      next_id = next_id + 1;
  end
  nRet = next_id;
  /* Integer variables, so that the texts kept are plain digits. */
  next_id = next_id + 1;
  ignored = rdb$set_context('USER_SESSION', 'GET_SD_ID_NEXT', next_id);
  ignored = rdb$set_context('USER_SESSION', 'GET_SD_ID_LAST', last_id);
  suspend;
end^

create procedure get_pl_id
returns (nRet numeric(15,0))
as
begin
  nRet = gen_id(gen_pl_id, 1);
  suspend;
end^

/* The server date, without its time part. */
create procedure get_data
returns (server_date date)
as
begin
  server_date = cast('TODAY' as date);
  suspend;
end^

SET TERM ; ^
