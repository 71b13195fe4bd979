{ Fixture components with real published properties of every kind the
  program stores. "write DIR" writes the fixture streams into DIR;
  "read FILE" reads a stream (with or without the resource wrapper) into
  these classes and writes it again, so what we write can be checked by a
  reader we did not write; the result goes to standard output as text. }
program fpc_fixtures;
{$mode objfpc}{$H+}
uses Classes, SysUtils;

type
  TColor = -$7FFFFFFF-1..$7FFFFFFF;
  TFixAlign = (alNone, alTop, alBottom, alClient);
  TFixOption = (foBold, foItalic, foUnderline, foStrikeOut);
  TFixOptions = set of TFixOption;

  TFixFont = class(TPersistent)
  private
    FName: string;
    FSize: Integer;
    FColor: TColor;
    FStyle: TFixOptions;
  public
    constructor Create;
  published
    property Name: string read FName write FName;
    property Size: Integer read FSize write FSize default 9;
    property Color: TColor read FColor write FColor default 0;
    property Style: TFixOptions read FStyle write FStyle default [];
  end;

  TFixItem = class(TCollectionItem)
  private
    FCaption: string;
    FValue: Integer;
  published
    property Caption: string read FCaption write FCaption;
    property Value: Integer read FValue write FValue default 0;
  end;

  TFixBase = class(TComponent)
  private
    FWidth: Integer;
    FHeight: Integer;
    FCaption: string;
    FColor: TColor;
    FRatio: Double;
    FFlag: Boolean;
    FAlign: TFixAlign;
    FOptions: TFixOptions;
    FLetter: AnsiChar;
    FBig: Int64;
    FFont: TFixFont;
    FItems: TCollection;
    FLines: TStrings;
    FBuddy: TComponent;
    FData: TMemoryStream;
    procedure SetFont(Value: TFixFont);
    procedure SetLines(Value: TStrings);
    procedure ReadData(Stream: TStream);
    procedure WriteData(Stream: TStream);
    function IsBigStored: Boolean;
  protected
    procedure DefineProperties(Filer: TFiler); override;
    procedure GetChildren(Proc: TGetChildProc; Root: TComponent); override;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
    property Data: TMemoryStream read FData;
  published
    property Width: Integer read FWidth write FWidth default 0;
    property Height: Integer read FHeight write FHeight;
    property Caption: string read FCaption write FCaption;
    property Color: TColor read FColor write FColor default $1FFFFFFF;
    property Ratio: Double read FRatio write FRatio;
    property Flag: Boolean read FFlag write FFlag default False;
    property Align: TFixAlign read FAlign write FAlign default alNone;
    property Options: TFixOptions read FOptions write FOptions default [];
    property Letter: AnsiChar read FLetter write FLetter default 'A';
    property Big: Int64 read FBig write FBig stored IsBigStored;
    property Font: TFixFont read FFont write SetFont;
    property Items: TCollection read FItems write FItems;
    property Lines: TStrings read FLines write SetLines;
    property Buddy: TComponent read FBuddy write FBuddy;
  end;

  TFixDerived = class(TFixBase)
  private
    FExtra: Integer;
  public
    constructor Create(AOwner: TComponent); override;
  published
    property Extra: Integer read FExtra write FExtra default 0;
    property Width default 10;
  end;

  TFixFloats = class(TComponent)
  private
    FSingle: Single;
    FMoney: Currency;
    FWhen: TDateTime;
  published
    property AsSingle: Single read FSingle write FSingle;
    property Money: Currency read FMoney write FMoney;
    property When: TDateTime read FWhen write FWhen;
  end;

const
  ColorNames: array[0..2] of TIdentMapEntry = (
    (Value: $000000; Name: 'clBlack'),
    (Value: $0000FF; Name: 'clRed'),
    (Value: $1FFFFFFF; Name: 'clNone'));

function IdentToColor(const Ident: string; var Int: LongInt): Boolean;
begin
  Result := IdentToInt(Ident, Int, ColorNames);
end;

function ColorToIdent(Int: LongInt; var Ident: string): Boolean;
begin
  Result := IntToIdent(Int, Ident, ColorNames);
end;

constructor TFixFont.Create;
begin
  inherited Create;
  FSize := 9;
end;

constructor TFixBase.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FColor := $1FFFFFFF;
  FLetter := 'A';
  FFont := TFixFont.Create;
  FItems := TCollection.Create(TFixItem);
  FLines := TStringList.Create;
  FData := TMemoryStream.Create;
end;

destructor TFixBase.Destroy;
begin
  FData.Free;
  FLines.Free;
  FItems.Free;
  FFont.Free;
  inherited Destroy;
end;

procedure TFixBase.SetFont(Value: TFixFont);
begin
  FFont.Name := Value.Name;
end;

procedure TFixBase.SetLines(Value: TStrings);
begin
  FLines.Assign(Value);
end;

procedure TFixBase.ReadData(Stream: TStream);
begin
  FData.Clear;
  FData.CopyFrom(Stream, Stream.Size - Stream.Position);
end;

procedure TFixBase.WriteData(Stream: TStream);
begin
  FData.Position := 0;
  Stream.CopyFrom(FData, FData.Size);
end;

{ Like the program's int64 properties, 0 counts as the default. }
function TFixBase.IsBigStored: Boolean;
begin
  Result := FBig <> 0;
end;

{ Every owned component is a stored child. }
procedure TFixBase.GetChildren(Proc: TGetChildProc; Root: TComponent);
var
  I: Integer;
begin
  for I := 0 to ComponentCount - 1 do
    Proc(Components[I]);
end;

procedure TFixBase.DefineProperties(Filer: TFiler);
begin
  inherited DefineProperties(Filer);
  Filer.DefineBinaryProperty('Data', @ReadData, @WriteData, FData.Size > 0);
end;

constructor TFixDerived.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  Width := 10;
end;

procedure Save(Root: TComponent; const FileName: string; Wrapped: Boolean);
var
  Stream: TFileStream;
begin
  Stream := TFileStream.Create(FileName, fmCreate);
  try
    if Wrapped then
      Stream.WriteComponentRes(Root.ClassName, Root)
    else
      Stream.WriteComponent(Root);
  finally
    Stream.Free;
  end;
  Root.Free;
end;

procedure WriteFixtures(const Dir: string);
var
  Base: TFixBase;
  Derived: TFixDerived;
  Child: TFixBase;
  Floats: TFixFloats;
  Item: TFixItem;
  I: Integer;
begin
  { Everything at its default. }
  Save(TFixBase.Create(nil), Dir + '/defaults.bin', False);

  Base := TFixBase.Create(nil);
  Base.Name := 'Base1';
  Base.Tag := -129;
  Base.Width := 127;
  Base.Height := 32768;
  Base.Caption := 'Label '#$83#$89#$83#$78#$83#$8B' ''q''';
  Base.Color := $0000FF;
  Base.Ratio := 0.5;
  Base.Flag := True;
  Base.Align := alClient;
  Base.Options := [foBold, foUnderline];
  Base.Letter := 'z';
  Base.Big := Int64(1) shl 40;
  Base.Font.Name := 'MS Gothic';
  Base.Font.Size := 12;
  Base.Font.Color := $123456;
  Base.Font.Style := [foItalic];
  Item := TFixItem(Base.Items.Add);
  Item.Caption := 'first';
  Item.Value := 1;
  Item := TFixItem(Base.Items.Add);
  Item.Caption := StringOfChar('x', 300);
  Base.Lines.Add('a');
  Base.Lines.Add('b');
  for I := 0 to 39 do
    Base.Data.WriteByte(I * 7);
  Save(Base, Dir + '/base.bin', False);

  Derived := TFixDerived.Create(nil);
  Derived.Name := 'Derived1';
  Derived.Height := -5;
  Derived.Extra := 3;
  Derived.Width := 0;
  Child := TFixBase.Create(Derived);
  Child.Name := 'Child1';
  Child.Height := 1;
  Child.Buddy := Derived;
  Child := TFixBase.Create(Derived);
  Child.Name := 'Child2';
  Child.Height := 2;
  Child.Buddy := Derived.Components[0];
  Save(Derived, Dir + '/derived.bin', False);

  Derived := TFixDerived.Create(nil);
  Derived.Name := 'Wrapped';
  Derived.Height := 7;
  Save(Derived, Dir + '/wrapped.bin', True);

  Floats := TFixFloats.Create(nil);
  Floats.Name := 'Floats1';
  Floats.AsSingle := 1.5;
  Floats.Money := 12.3456;
  Floats.When := 45000.25;
  Save(Floats, Dir + '/floats.bin', False);
end;

procedure ReadAndPrint(const FileName: string);
var
  Stream: TFileStream;
  Root: TComponent;
  Binary: TMemoryStream;
  Text: TStringStream;
  First: Byte;
begin
  Stream := TFileStream.Create(FileName, fmOpenRead);
  Binary := TMemoryStream.Create;
  Text := TStringStream.Create('');
  Root := nil;
  try
    First := 0;
    Stream.ReadBuffer(First, 1);
    Stream.Position := 0;
    if First = $FF then
      Root := Stream.ReadComponentRes(nil)
    else
      Root := Stream.ReadComponent(nil);
    Binary.WriteComponent(Root);
    Binary.Position := 0;
    ObjectBinaryToText(Binary, Text);
    Write(Text.DataString);
  finally
    Root.Free;
    Text.Free;
    Binary.Free;
    Stream.Free;
  end;
end;

begin
  RegisterIntegerConsts(TypeInfo(TColor), @IdentToColor, @ColorToIdent);
  RegisterClasses([TFixBase, TFixDerived, TFixFloats]);
  try
    if (ParamCount = 2) and (ParamStr(1) = 'write') then
      WriteFixtures(ParamStr(2))
    else if (ParamCount = 2) and (ParamStr(1) = 'read') then
      ReadAndPrint(ParamStr(2))
    else
    begin
      WriteLn(StdErr, 'usage: fpc_fixtures write DIR | read FILE');
      Halt(2);
    end;
  except
    on E: Exception do
    begin
      WriteLn(StdErr, E.ClassName, ': ', E.Message);
      Halt(1);
    end;
  end;
end.
